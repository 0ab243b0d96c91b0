// Files that say absurd things: sizes no sign has, texts no page can show, pictures that
// are FIFOs or have too many frames. Rendering stays bounded and says what it dropped.
#include "compile_fixture.h"

#include "base/last_error.h"
#include "model/image_zone.h"
#include "model/led_bitmap.h"
#include "model/text_zone.h"
#include "render/image_preview.h"
#include "render/project_check.h"
#include "render/renderer.h"
#include "render/rich_text_render.h"
#include "render/rtf_reader.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class HostileInput : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        InstallRenderer();
    }
    CTextZone* TextZone(const LedRect& rect, const QString& rtf)
    {
        CTextZone* zone = AddZone<CTextZone>(AddWindow(rect), 0);
        zone->SetRtf(rtf);
        return zone;
    }
};

QString WordsRtf(int bytes)
{
    static const char* const kWords[] = {"alpha ", "light ", "sign ", "panel "};
    QString text;
    text.reserve(bytes);
    for (int i = 0; text.size() < bytes; ++i)
        text += QLatin1String(kWords[i % 4]);
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\f0\\fs24 ") +
           text + QStringLiteral("\\par}");
}

// An animated GIF of 1 x 1 frames, written from the format's layout.
QByteArray AnimatedGif(int frames)
{
    QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
    gif.append("\x00\x00\x00\xff\xff\xff", 6); // two colours
    gif.append("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int i = 0; i < frames; ++i) {
        gif.append("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);          // 100 ms
        gif.append("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10); // 1 x 1 at 0,0
        gif.append("\x02\x02\x44\x01\x00", 5);                      // clear, pixel 0, end
    }
    gif.append('\x3b');
    return gif;
}

// Runs the work on its own thread; a FIFO left blocking it is opened for writing so that
// the test ends either way.
bool FinishesWithin(const QString& fifo, const std::function<void()>& work)
{
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
        return true;
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
    if (fd >= 0)
        ::close(fd);
    done.wait();
    return false;
}

} // namespace

TEST_F(HostileInput, SizesNoSignHasAreNotDrawn)
{
    // A window far larger than its screen: nothing is allocated for it.
    CTextZone* huge = TextZone({0, 0, 65535, 65535}, WordsRtf(100));
    CTextZone* fits = TextZone({0, 0, 64, 32}, WordsRtf(100));
    screen->Prepare(RenderForm::Display);
    EXPECT_EQ(huge->GetPageCount(), 0);
    EXPECT_GT(fits->GetPageCount(), 0);

    // A screen beyond the largest panel is refused as a whole, with the reason.
    SetScreen(65535, 65535, 1, 0);
    ClearLastError();
    fits->ClearPages();
    screen->Prepare(RenderForm::Display);
    EXPECT_EQ(fits->GetPageCount(), 0);
    EXPECT_EQ(LastError(), QStringLiteral("The screen is 65535 x 65535 pixels; a screen has at "
                                          "most 8192 x 512."));
    CByteBuffer buffer(1024, 1024);
    ClearLastError();
    EXPECT_FALSE(WriteData(*screen, buffer));
    EXPECT_TRUE(LastError().startsWith(QStringLiteral("The screen is 65535 x 65535")));
    SetScreen(8192, 512, 1, 0);
    EXPECT_TRUE(screen->SizeAllowed());
}

TEST_F(HostileInput, ExtremeRectangleDoesNotOverflow)
{
    CPlayWindow* window = AddWindow({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(window->Width(), INT_MAX);
    EXPECT_EQ(window->Height(), INT_MAX);
    static_assert(LedRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}.Width() == INT_MAX);
    static_assert(LedRect{INT_MAX, 0, INT_MIN, 1}.Width() == INT_MIN);
    AddZone<CTextZone>(window, 0)->SetRtf(WordsRtf(10));
    screen->Prepare(RenderForm::Controller);
    EXPECT_EQ(GetFrameBufferSize(*screen), 0xFFFFFFFFu);
    CByteBuffer buffer(1024, 1024);
    EXPECT_FALSE(WriteData(*screen, buffer));
}

TEST_F(HostileInput, LongRichTextIsLaidOutOnlyAsFarAsPagesShow)
{
    const QString rtf = WordsRtf(1 << 20);
    for (const int mode : {RichTextLines, RichTextWideStrip, RichTextTallStrip}) {
        SCOPED_TRACE(mode);
        QTextDocument document;
        ReadRtf(rtf, document);
        ASSERT_GT(document.characterCount(), 1000000);
        const std::vector<QImage> out = RenderRichDocument(96, 32, mode, document, 0, 0, 300);
        // What is left is what the bitmaps can hold: 300 lines of 96 pixels, one strip of
        // 40960 x 48, or a strip of 61440 rows of 96.
        const long long kept = mode == RichTextLines       ? 300 * 97
                               : mode == RichTextWideStrip ? 48LL * (kMaxStripLength + 1)
                                                           : 61440LL * 97;
        EXPECT_LE(document.characterCount(), kept + 1);
        if (mode == RichTextLines)
            EXPECT_EQ(out.size(), 300u);
        else
            EXPECT_EQ(out.size(), 1u);
    }

    // A zone whose lines are centred at the window's height holds one line a page: the
    // pages stop at the compiler's limit.
    SetScreen(96, 32, 1, 0);
    CTextZone* zone = TextZone({0, 0, 96, 32}, rtf);
    zone->SetAction(1);
    zone->SetVerticalAlign(0);
    screen->Prepare(RenderForm::Display);
    EXPECT_GE(zone->GetPageCount(), layout::kMaxPages);
    EXPECT_LE(zone->GetPageCount(), layout::kMaxPages + 1);
}

TEST_F(HostileInput, FifoPicturesAreMissingPictures)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("picture.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    CImageZone* image = AddZone<CImageZone>(AddWindow({0, 0, 32, 32}), 0);
    image->Key().sourcePath = fifo;
    program->Border().enabled = 1;
    program->Border().source = 1;
    program->BorderKey().sourcePath = fifo;
    EXPECT_TRUE(FinishesWithin(fifo, [&] { screen->Prepare(RenderForm::Display); }));
    EXPECT_EQ(image->GetPageCount(), 0);
    EXPECT_EQ(program->BorderWidth(), 0);

    CLedBitmap bitmap(4, 4);
    EXPECT_TRUE(FinishesWithin(fifo, [&] {
        EXPECT_FALSE(bitmap.LoadFile(fifo));
        EXPECT_FALSE(bitmap.LoadFile(fifo, 8, 8));
    }));

    // The Load Image dialog's preview and the checker say so at once.
    EXPECT_TRUE(FinishesWithin(fifo, [&] {
        ImagePreview preview;
        EXPECT_FALSE(LoadImagePreview(fifo, ImageKeyParams{}, 32, 32, 1, preview));
        ProjectFindings findings;
        CheckProjectTree(*root, findings);
        int unreadable = 0;
        for (const ProjectFinding& finding : findings)
            unreadable +=
                finding.text.contains(QStringLiteral("cannot be read: It is not a regular file."));
        EXPECT_EQ(unreadable, 2);
    }));
}

TEST_F(HostileInput, GifBeyondTheFrameLimitKeepsTheFirstFramesAndSaysSo)
{
    QTemporaryDir dir;
    RecordingMessageSink messages;
    CImageZone* zone = AddZone<CImageZone>(AddWindow({0, 0, 16, 16}), 0);
    for (const int frames : {CImageZone::kMaxFrames, CImageZone::kMaxFrames + 6}) {
        SCOPED_TRACE(frames);
        const QString path = dir.filePath(QStringLiteral("%1.gif").arg(frames));
        ASSERT_TRUE(WriteFileBytes(path, AnimatedGif(frames)));
        zone->Key().sourcePath = path;
        messages.texts.clear();
        screen->Prepare(RenderForm::Display);
        EXPECT_EQ(zone->GetPageCount(), CImageZone::kMaxFrames);
        if (frames > CImageZone::kMaxFrames) {
            ASSERT_EQ(messages.texts.size(), 1);
            EXPECT_EQ(messages.texts[0],
                      path + QStringLiteral(" has more than 254 frames; only the first 254 "
                                            "are shown."));
        } else {
            EXPECT_TRUE(messages.texts.isEmpty());
        }
    }
}
