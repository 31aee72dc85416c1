#include "shell/ui/Splash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPointer>

namespace {
QPointer<Splash> g_current;
} // namespace

QPixmap Splash::picture()
{
    QPixmap picture(420, 220);
    QPainter p(&picture);
    QLinearGradient g(0, 0, 0, picture.height());
    g.setColorAt(0, QColor(114, 215, 243));
    g.setColorAt(1, QColor(12, 117, 148));
    p.fillRect(picture.rect(), g);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Arial"), 30, QFont::Bold));
    p.drawText(picture.rect().adjusted(0, -30, 0, 0), Qt::AlignCenter, QStringLiteral("Keystead"));
    p.setFont(QFont(QStringLiteral("Arial"), 11));
    p.drawText(picture.rect().adjusted(0, 60, 0, 0), Qt::AlignCenter,
               QStringLiteral("Rental property management"));
    return picture;
}

Splash::Splash() : QSplashScreen(picture(), Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("splash"));
    // It never takes the keyboard from the window the user is to type in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    g_current = this;
}

Splash::~Splash()
{
    if (g_current == this)
        g_current = nullptr;
}

Splash* Splash::current()
{
    return g_current && g_current->isVisible() ? g_current.data() : nullptr;
}

void Splash::dismiss()
{
    if (Splash* s = current())
        s->close();
}
