#include "records/ui/RecordCommands.h"

#include "records/ui/TFApart.h"
#include "records/ui/TLeaseForm.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TMain.h"

#include <QMdiSubWindow>

void connectUnitCommands(TMain& main)
{
    main.guarded(
        QStringLiteral("apartments"), QStringLiteral("APARTMENTS"), TMain::NoRights, [&main] {
            const bool open = main.openChildWindow(QStringLiteral("apartments"));
            QMdiSubWindow* window = main.OpenChild(QStringLiteral("apartments"),
                                                   [&main] { return new TFApart(main.state()); });
            if (!open && window)
                window->showMaximized();
        });
    main.enable(QStringLiteral("leaseTerms"), [&main] {
        TLeaseForm dialog(main.state(), &main);
        Dialogs::exec(&dialog);
    });
}
