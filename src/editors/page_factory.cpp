#include "editors/page_factory.h"

#include "editors/control_names.h"

#include "editors/animate_page.h"
#include "editors/clock_page.h"
#include "editors/countdown_page.h"
#include "editors/datetime_page.h"
#include "editors/image_page.h"
#include "editors/program_page.h"
#include "editors/screen_page.h"
#include "editors/table_page.h"
#include "editors/temperature_page.h"
#include "editors/text_zone_page.h"
#include "editors/window_page.h"
#include "editors/zone_effect_page.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"

namespace {

template <typename Page, typename Object>
CPropertyPage* Make(CProjectObject& object, CLumivantDoc& doc, QWidget* parent)
{
    auto* typed = dynamic_cast<Object*>(&object);
    return typed ? new Page(*typed, doc, parent) : nullptr;
}

} // namespace

namespace {

CPropertyPage* MakePage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent,
                        const ScreenCommands& commands)
{
    switch (object.GetKind()) {
    case KindScreen:
        return new CScreenPage(static_cast<CScreen&>(object), doc, commands, parent);
    case KindProgram:
        return Make<CProgramPage, CProgram>(object, doc, parent);
    case KindWindow:
        return Make<CWindowPage, CPlayWindow>(object, doc, parent);
    case KindText:
        return Make<CTextZonePage, CTextZone>(object, doc, parent);
    case KindImage:
        return Make<CImagePage, CImageZone>(object, doc, parent);
    case KindAnimate:
        return Make<CAnimatePage, CAnimateZone>(object, doc, parent);
    case KindTable:
        return Make<CTablePage, CTableZone>(object, doc, parent);
    case KindClock:
        return Make<CClockPage, CClockZone>(object, doc, parent);
    case KindDateTime:
        return Make<CDateTimePage, CDateTimeZone>(object, doc, parent);
    case KindTemperature:
        return Make<CTemperaturePage, CTemperatureZone>(object, doc, parent);
    case KindCountdown:
        return Make<CCountdownPage, CCountdownZone>(object, doc, parent);
    default:
        return nullptr;
    }
}

} // namespace

CPropertyPage* CreatePropertyPage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent,
                                  const ScreenCommands& commands)
{
    CPropertyPage* page = MakePage(object, doc, parent, commands);
    NameControlsByTheirLabels(page);
    return page;
}

CPropertyPage* CreateEffectPage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent)
{
    CPropertyPage* page = Make<CZoneEffectPage, CEffectZone>(object, doc, parent);
    NameControlsByTheirLabels(page);
    return page;
}
