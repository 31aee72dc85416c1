#include "records/Vendors.h"

namespace Vendors {

const QStringList& typeSuggestions()
{
    // The first one keeps its trailing blank: stored rows hold it that way.
    static const QStringList types = {
        QStringLiteral("AIR CONDITIONING "), QStringLiteral("ANIMAL CONTROL"),
        QStringLiteral("APPLIANCE REPAIR"),  QStringLiteral("BATH FIXTURES"),
        QStringLiteral("CARPET CLEANING"),   QStringLiteral("CARPET LINO/INSTALL"),
        QStringLiteral("CLEANING GENERAL"),  QStringLiteral("DOOR REPAIR/INSTALL"),
        QStringLiteral("ELEC FIXTURES"),     QStringLiteral("ELECTRIC UTILITIES CO."),
        QStringLiteral("ELECTRICIAN"),       QStringLiteral("ELECTRONICS"),
        QStringLiteral("FURNITURE"),         QStringLiteral("GAS/HYDRO"),
        QStringLiteral("GENERAL TRADE"),     QStringLiteral("GOVERNMENT"),
        QStringLiteral("HEATING"),           QStringLiteral("HUD"),
        QStringLiteral("HVAC"),              QStringLiteral("INSULATION"),
        QStringLiteral("LAWN CARE/ MOWING"), QStringLiteral("LOCK SMITH"),
        QStringLiteral("MASONARY"),          QStringLiteral("NEWS PAPER/MEDIA"),
        QStringLiteral("OTHER"),             QStringLiteral("PAINTING"),
        QStringLiteral("PEST CONTROL"),      QStringLiteral("REPAIR GENERAL"),
        QStringLiteral("SNOW REMOVAL"),      QStringLiteral("TILING"),
        QStringLiteral("WASTE REMOVAL")};
    return types;
}

QString nameMessage(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Vendor name is blank!");
    return QString();
}

} // namespace Vendors
