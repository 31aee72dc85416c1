#include "cashbook/ui/CashbookCommands.h"

#include "cashbook/ui/TCashForm.h"
#include "cashbook/ui/TCatForm.h"
#include "cashbook/ui/TCcardForm.h"
#include "shell/AppState.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TMain.h"

#include <QMdiSubWindow>

void connectCashbookCommands(TMain& main)
{
    main.guarded(QStringLiteral("cashbook"), QStringLiteral("CASHBOOK"), TMain::NoRights, [&main] {
        const QString key = QStringLiteral("cashbook");
        const bool fresh = !main.openChildWindow(key);
        QMdiSubWindow* window = main.OpenChild(key, [&main] { return new TCashForm(main.state()); });
        if (fresh && window)
            window->showMaximized();
    });
    // Both buttons make the same new entry: its category decides income or expense.
    for (const char* key : {"recordExpense", "recordIncome"})
        main.guarded(QLatin1String(key), QStringLiteral("CASHBOOK"), TMain::NoRights,
                     [&main] { TCashForm::addEntry(main.state(), &main); });
    main.guarded(QStringLiteral("categories"), QStringLiteral("CASHBOOK"),
                 QStringLiteral("You do not have rights to access cashbook related entries!"),
                 [&main] { Dialogs::exec(TCatForm::instance(main.state(), &main)); });
    main.enable(QStringLiteral("creditCards"), [&main] {
        TCcardForm dialog(main.state(), &main);
        Dialogs::exec(&dialog);
    });
}
