// A screen's zones are rendered on several threads: the pages and the compiled screen data
// must be exactly those of rendering them one after another.
#include "compile_fixture.h"

#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/datetime_zone.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "render/renderer.h"
#include "render/rtf_writer.h"

#include <QTextDocument>

namespace {

class PrepareThreadsTest : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        InstallRenderer();
        SetRenderTime(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)));
        SetScreen(256, 64, 3, 0);
        // Programs of windows with every kind of zone that draws text, each different.
        for (int p = 0; p < 6; ++p) {
            CProgram* into = p == 0 ? program : AddProgram();
            for (int w = 0; w < 4; ++w) {
                CPlayWindow* window = AddWindow({w * 64, 0, w * 64 + 64, 32 + 8 * (w % 3)}, into);
                for (int z = 0; z < 6; ++z)
                    AddZoneOfKind(window, (p + w + z) % 5, p * 100 + w * 10 + z);
            }
        }
    }

    void TearDown() override
    {
        SetZoneThreadLimit(0);
        SetRenderTime(QDateTime());
    }

    void AddZoneOfKind(CPlayWindow* window, int kind, int number)
    {
        QTextDocument document;
        document.setPlainText(QStringLiteral("Zone %1 says %2").arg(number).arg(number * 7919));
        switch (kind) {
        case 0:
        case 1: {
            auto* text = AddZone<CTextZone>(window, 0);
            text->SetRtf(WriteRtf(document));
            text->SetAction(kind == 0 ? ActionContinuousMoveLeft : ActionDirect);
            break;
        }
        case 2:
            AddZone<CTableZone>(window, 0)->Cell(0, 0).text = QString::number(number);
            break;
        case 3:
            AddZone<CAnimateZone>(window, 0)->SetRtf(WriteRtf(document));
            break;
        default:
            AddZone<CDateTimeZone>(window, 0);
            break;
        }
    }

    // Every page of every zone, in order.
    std::vector<QImage> Pages() const
    {
        std::vector<QImage> pages;
        screen->ForEachChild([&](const CProjectObject& program) {
            program.ForEachChild([&](const CProjectObject& window) {
                window.ForEachChild([&](const CProjectObject& zone) {
                    const auto& effect = static_cast<const CEffectZone&>(zone);
                    for (int i = 0; i < effect.GetPageCount(); ++i)
                        pages.push_back(effect.GetPage(i)->Image());
                });
            });
        });
        return pages;
    }
};

} // namespace

TEST_F(PrepareThreadsTest, ThreadedPrepareGivesTheSequentialPagesAndData)
{
    SetZoneThreadLimit(1);
    screen->Prepare(RenderForm::Controller);
    const std::vector<QImage> sequentialPages = Pages();
    const QByteArray sequential = Compile();
    ASSERT_TRUE(lastResult);
    ASSERT_GT(sequentialPages.size(), 144u);

    for (int threads : {2, 5}) {
        SetZoneThreadLimit(threads);
        screen->Prepare(RenderForm::Display);
        screen->Prepare(RenderForm::Controller);
        const std::vector<QImage> pages = Pages();
        ASSERT_EQ(pages.size(), sequentialPages.size()) << threads;
        for (size_t i = 0; i < pages.size(); ++i)
            ASSERT_TRUE(pages[i] == sequentialPages[i]) << "page " << i << ", " << threads;
        EXPECT_EQ(Compile(), sequential) << threads;
    }
}
