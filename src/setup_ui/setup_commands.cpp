#include "setup_ui/setup_commands.h"

bool SetupCommandAvailable(SetupCommand)
{
    return false;
}

bool RunSetupCommand(SetupCommand, CScreen&, CLumivantDoc&, QWidget*)
{
    return false;
}
