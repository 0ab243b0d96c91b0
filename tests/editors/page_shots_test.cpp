#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"
#include "page_fixture.h"

#include <QDir>
#include <QPixmap>

namespace {

using PageShotTest = PageTest;

// Builds the page of every object kind at the property pane's size; with
// LUMIVANT_PAGE_SHOTS set to a folder it saves each as a PNG to look at.
TEST_F(PageShotTest, EveryKindHasAPageThatLaysOutWithinThePane)
{
    CPlayWindow& window = AddWindow({0, 0, 128, 32});
    std::vector<std::pair<const char*, CProjectObject*>> objects{
        {"screen", &Screen()}, {"program", &Program()}, {"window", &window}};
    const std::pair<const char*, int> zones[] = {{"text", KindText},
                                                 {"image", KindImage},
                                                 {"animate", KindAnimate},
                                                 {"table", KindTable},
                                                 {"clock", KindClock},
                                                 {"datetime", KindDateTime},
                                                 {"temperature", KindTemperature},
                                                 {"countdown", KindCountdown}};
    for (const auto& [name, kind] : zones)
        objects.emplace_back(name, &AddZone<CEffectZone>(kind, &window));
    doc.RenderNow(Program());

    const QString folder = qEnvironmentVariable("LUMIVANT_PAGE_SHOTS");
    for (const auto& [name, object] : objects) {
        auto page = Page(*object);
        ASSERT_TRUE(page) << name;
        page->resize(page->sizeHint().expandedTo(QSize(900, 300)));
        const QPixmap shot = page->grab();
        EXPECT_FALSE(shot.isNull()) << name;
        EXPECT_LE(page->minimumSizeHint().height(), 600) << name;
        if (!folder.isEmpty())
            shot.save(QDir(folder).filePath(QStringLiteral("%1.png").arg(QLatin1String(name))));
    }
}

} // namespace
