#include "cashbook/ui/CashbookCommands.h"

#include "cashbook/ui/TCatForm.h"
#include "cashbook/ui/TCcardForm.h"
#include "shell/AppState.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TMain.h"

void connectCashbookCommands(TMain& main)
{
    main.guarded(QStringLiteral("categories"), QStringLiteral("CASHBOOK"),
                 QStringLiteral("You do not have rights to access cashbook related entries!"),
                 [&main] { Dialogs::exec(TCatForm::instance(main.state(), &main)); });
    main.enable(QStringLiteral("creditCards"), [&main] {
        TCcardForm dialog(main.state(), &main);
        Dialogs::exec(&dialog);
    });
}
