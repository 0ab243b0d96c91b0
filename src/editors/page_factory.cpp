#include "editors/page_factory.h"

#include "editors/property_page.h"

CPropertyPage* CreatePropertyPage(CProjectObject&, CLumivantDoc&, QWidget*)
{
    return nullptr;
}
