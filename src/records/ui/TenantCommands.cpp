#include "records/ui/RecordCommands.h"

#include "records/ui/TTenForm.h"
#include "shell/ui/TMain.h"

#include <QMdiSubWindow>

void connectTenantCommands(TMain& main)
{
    main.guarded(QStringLiteral("tenants"), QStringLiteral("TENANTS"), TMain::NoRights, [&main] {
        const QString key = QStringLiteral("tenants");
        const bool fresh = !main.openChildWindow(key);
        QMdiSubWindow* window = main.OpenChild(key, [&main] { return new TTenForm(main.state()); });
        if (fresh && window)
            window->showMaximized();
    });
}
