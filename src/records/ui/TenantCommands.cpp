#include "records/ui/RecordCommands.h"

#include "shell/ui/TMain.h"

void connectTenantCommands(TMain&)
{
}
