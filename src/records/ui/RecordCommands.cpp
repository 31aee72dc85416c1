#include "records/ui/RecordCommands.h"

#include "records/ui/TEquipForm.h"
#include "records/ui/TFBuild.h"
#include "records/ui/TFTOwn.h"
#include "records/ui/TVenMain.h"
#include "shell/AppState.h"
#include "shell/ui/TMain.h"

#include <QMdiSubWindow>

namespace {

// Opens the child screen once; a new one opens maximized when asked.
void openChild(TMain& main, const QString& key, bool maximized,
               const std::function<QWidget*()>& factory)
{
    const bool fresh = main.openChildWindow(key) == nullptr;
    QMdiSubWindow* window = main.OpenChild(key, factory);
    if (fresh && maximized && window)
        window->showMaximized();
}

} // namespace

void connectRecordCommands(TMain& main)
{
    AppState& state = main.state();
    main.guarded(QStringLiteral("owners"), QStringLiteral("OWNERS"), TMain::NoRights, [&main, &state] {
        openChild(main, QStringLiteral("owners"), true, [&state] { return new TFTOwn(state); });
    });
    main.guarded(QStringLiteral("buildings"), QStringLiteral("BUILDINGS"), TMain::NoRights,
                 [&main, &state] {
                     openChild(main, QStringLiteral("buildings"), true,
                               [&state] { return new TFBuild(state); });
                 });
    main.guarded(QStringLiteral("equipment"), QStringLiteral("EQUIPMENTS"), TMain::NoRights,
                 [&main, &state] {
                     openChild(main, QStringLiteral("equipment"), true,
                               [&state] { return new TEquipForm(state); });
                 });
    main.enable(QStringLiteral("vendors"), [&main, &state] {
        openChild(main, QStringLiteral("vendors"), false, [&state] { return new TVenMain(state); });
    });
}
