#include "office/ui/OfficeCommands.h"

#include "office/ui/TRemForm.h"
#include "office/ui/TTodoForm.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TMain.h"

void connectOfficeCommands(TMain& main)
{
    main.enable(QStringLiteral("reminders"), [&main] {
        Dialogs::exec(TRemForm::instance(main.state(), &main));
    });
    main.enable(QStringLiteral("todo"), [&main] {
        Dialogs::exec(TTodoForm::instance(main.state(), &main));
    });
}
