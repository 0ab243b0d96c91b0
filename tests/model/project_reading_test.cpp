#include "model_fixtures.h"

#include "base/last_error.h"
#include "model/datetime_zone.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "support/test_support.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Document(const QByteArray& screens)
{
    return "<?xml version=\"1.0\"?><project><Varnolite><varno>0</varno><lite>NULL</lite>"
           "<fore>0</fore>" +
           screens + "</Varnolite></project>";
}

QByteArray Object(int kind, const QByteArray& props, const QByteArray& children = {})
{
    return "<Varnolite><varno>" + QByteArray::number(kind) + "</varno>" + props + children +
           "</Varnolite>";
}

QByteArray Screen(const QByteArray& props, const QByteArray& programs)
{
    return Object(120, props, programs);
}

QByteArray Program(const QByteArray& children)
{
    return Object(110, "<lite>P</lite>", children);
}

std::unique_ptr<CProjectRoot> Load(const QByteArray& bytes)
{
    auto root = std::make_unique<CProjectRoot>();
    EXPECT_TRUE(root->LoadProjectBuffer(bytes)) << bytes.toStdString();
    return root;
}

CScreen* FirstScreen(const CProjectRoot& root)
{
    return static_cast<CScreen*>(root.GetChild(0));
}

} // namespace

TEST(ProjectReading, PropertiesAreFoundSearchingForwardOnly)
{
    // "pw" before "varno" is not seen; "ph1" after "pw" in write order but placed before
    // it in the file is not seen either; unknown elements in between are skipped.
    const auto root =
        Load(Document("<Varnolite><pw>64</pw><varno>120</varno><lite>Front</lite><junk>1</junk>"
                      "<ph1>16</ph1><pp>9</pp><pw>128</pw><ph1>48</ph1></Varnolite>"));
    CScreen* screen = FirstScreen(*root);
    EXPECT_EQ(screen->GetName(), QStringLiteral("Front"));
    EXPECT_EQ(screen->Width(), 128);
    EXPECT_EQ(screen->Height(), 16);
    EXPECT_EQ(screen->Link().panelId, 9);
}

TEST(ProjectReading, MissingKeysKeepDefaultsAndDoNotDisturbTheRest)
{
    const auto root = Load(Document(Screen("<pc>1</pc><pw>96</pw><slt>0</slt>", {})));
    CScreen* screen = FirstScreen(*root);
    EXPECT_EQ(screen->ColourDepth(), 1);
    EXPECT_EQ(screen->Width(), 96);
    EXPECT_EQ(screen->Height(), 32);
    EXPECT_EQ(screen->GetSelected(), 0);
    EXPECT_EQ(screen->Params().U32(ControllerParams::BaudRate), 57600u);
    EXPECT_EQ(screen->Link().timeoutMs, 1000);
}

TEST(ProjectReading, NumbersAreCutToTheFieldWidth)
{
    const auto root = Load(
        Document(Screen("<pc>258</pc><pl>-2</pl><pp>abc</pp><pw>  70000xyz</pw><ll40>-32288</ll40>"
                        "<ilp>18199</ilp><to>99999999999</to><v0>300</v0>",
                        {})));
    CScreen* screen = FirstScreen(*root);
    EXPECT_EQ(screen->Params().U8(ControllerParams::ColourType), 2);
    EXPECT_EQ(screen->Params().U8(ControllerParams::RowOrder), 0xFE);
    EXPECT_EQ(screen->Width(), 70000 - 65536);
    EXPECT_EQ(screen->Params().U16(ControllerParams::PanelId), 0);
    EXPECT_EQ(screen->Link().remotePort, 5959);
    const ScheduleEntry entry = screen->Params().BrightnessEntry(0);
    EXPECT_FALSE(entry.InUse());
    EXPECT_EQ(entry.StartMinutes(), 480); // 0x81E0: 08:00, not selected
    EXPECT_EQ(screen->Identity()[0], 300 - 256);
    EXPECT_EQ(screen->Link().timeoutMs, 2147483647);
    // The signed row order is written back signed.
    EXPECT_TRUE(root->SaveProjectBuffer().contains("<pl>-2</pl>"));
}

TEST(ProjectReading, RemoteAddressComesFromTheBlockUnlessSliIsPresent)
{
    const QByteArray ip = "<ili0>10</ili0><ili1>0</ili1><ili2>0</ili2><ili3>200</ili3>";
    EXPECT_EQ(FirstScreen(*Load(Document(Screen(ip, {}))))->Link().remoteIp,
              QStringLiteral("10.0.0.200"));
    const QByteArray named = ip + "<sli>" + QByteArray(40, 'h') + "</sli>";
    EXPECT_EQ(FirstScreen(*Load(Document(Screen(named, {}))))->Link().remoteIp, QString(30, u'h'));
}

TEST(ProjectReading, LinkKindAndIdentity)
{
    const auto network = Load(Document(Screen("<ctp>1</ctp><v1>5</v1>", {})));
    EXPECT_EQ(FirstScreen(*network)->Link().Kind(), LinkKind::Network);
    EXPECT_EQ(FirstScreen(*network)->Identity(), (std::array<std::uint8_t, 5>{0, 5, 0, 0, 0}));
    const auto other = Load(Document(Screen("<ctp>7</ctp>", {})));
    EXPECT_EQ(FirstScreen(*other)->Link().Kind(), LinkKind::Serial);
}

TEST(ProjectReading, MisplacedKindsAreDroppedWithTheirContent)
{
    const QByteArray zones = Object(12, "<lite>Temp</lite>") + Object(1, "<lite>Direct</lite>") +
                             Object(11, "<lite>Clock</lite>") + Object(57, "<lite>Odd</lite>") +
                             "<Varnolite><lite>no kind</lite></Varnolite>";
    const auto root = Load(Document(Screen({}, Program(zones))));
    CProjectObject* program = FirstScreen(*root)->GetChild(0);
    ASSERT_EQ(program->GetChildCount(), 2);
    EXPECT_EQ(program->GetChild(0)->GetName(), QStringLiteral("Direct"));
    EXPECT_EQ(program->GetChild(1)->GetKind(), KindDateTime);
}

TEST(ProjectReading, ImplicitWindowsMustCarryExactlyOneZone)
{
    const QByteArray text = Object(1, "<lite>T</lite>");
    const QByteArray windows = Object(100, "<lite>none</lite><fore>0</fore>") +
                               Object(100, "<lite>one</lite><fore>0</fore>", text) +
                               Object(100, "<lite>two</lite><fore>0</fore>", text + text) +
                               Object(100, "<lite>explicit</lite><fore>1</fore>");
    const auto root = Load(Document(Screen({}, Program(windows))));
    CProjectObject* program = FirstScreen(*root)->GetChild(0);
    ASSERT_EQ(program->GetChildCount(), 2);
    EXPECT_EQ(program->GetChild(0)->GetName(), QStringLiteral("one"));
    EXPECT_EQ(program->GetChild(1)->GetName(), QStringLiteral("explicit"));
}

TEST(ProjectReading, NamesAreCutToThirtyCharacters)
{
    const QByteArray name = QString(40, QChar(0x5B57)).toUtf8();
    const auto root = Load(Document(Screen("<lite>" + name + "</lite>", {})));
    EXPECT_EQ(FirstScreen(*root)->GetName(), QString(30, QChar(0x5B57)));
}

TEST(ProjectReading, InvalidRectanglesLeaveTheDefault)
{
    const QByteArray windows = Object(100, "<rect>10,10,5,20</rect>") +
                               Object(100, "<rect>1,2,3</rect>") +
                               Object(100, "<rect> 4, -1,+20,9</rect>");
    const auto root = Load(Document(Screen({}, Program(windows))));
    CProjectObject* program = FirstScreen(*root)->GetChild(0);
    ASSERT_EQ(program->GetChildCount(), 3);
    EXPECT_EQ(static_cast<CPlayWindow*>(program->GetChild(0))->WindowRect(),
              (LedRect{0, 0, 64, 32}));
    EXPECT_EQ(static_cast<CPlayWindow*>(program->GetChild(1))->WindowRect(),
              (LedRect{64, 0, 128, 32}));
    EXPECT_EQ(static_cast<CPlayWindow*>(program->GetChild(2))->WindowRect(),
              (LedRect{4, -1, 20, 9}));
}

TEST(ProjectReading, TableListsAreRebuiltWithTheCountsRead)
{
    const QByteArray table = Object(4, "<tbmrs>1</tbmrs><tbmcs>3</tbmcs><c0>10</c0><c1>20</c1>"
                                       "<c_st2>x</c_st2>");
    const auto root = Load(Document(Screen({}, Program(Object(100, "<lite>W</lite>", table)))));
    auto* zone =
        static_cast<CTableZone*>(FirstScreen(*root)->GetChild(0)->GetChild(0)->GetChild(0));
    ASSERT_EQ(zone->ColumnCount(), 3);
    EXPECT_EQ(zone->ColumnWidths(), (std::vector<std::int32_t>{10, 20, 60}));
    ASSERT_EQ(zone->RowCount(), 1);
    EXPECT_EQ(zone->Cell(0, 0).foreColour, 0u);
    EXPECT_EQ(zone->Cell(0, 0).fontSize, 0);
    EXPECT_EQ(zone->Cell(0, 2).text, QStringLiteral("x"));
}

TEST(ProjectReading, HugeTableCountsAreBounded)
{
    const QByteArray table = Object(4, "<tbmrs>2000000000</tbmrs><tbmcs>-5</tbmcs>");
    const auto root = Load(Document(Screen({}, Program(Object(100, {}, table)))));
    auto* zone =
        static_cast<CTableZone*>(FirstScreen(*root)->GetChild(0)->GetChild(0)->GetChild(0));
    EXPECT_LE(zone->RowCount(), CTableZone::kMaxRows);
    EXPECT_EQ(zone->ColumnCount(), 0);
}

TEST(ProjectReading, AnyDocumentElementNameAndAnEmptyRoot)
{
    auto root = std::make_unique<CProjectRoot>();
    ASSERT_TRUE(root->LoadProjectBuffer(
        "<other><Varnolite><varno>0</varno><lite>NULL</lite></Varnolite></other>"));
    EXPECT_EQ(root->GetChildCount(), 0);
    root->EnsureScreen();
    EXPECT_EQ(root->GetChildCount(), 1);

    // A document without a root object loads nothing, and says so.
    CProjectRoot bare;
    RecordError(QStringLiteral("before"));
    EXPECT_FALSE(bare.LoadProjectBuffer("<project><other/></project>"));
    EXPECT_EQ(LastError(), QStringLiteral("Failed on load project. The root element <project> "
                                          "holds no project (no <Varnolite> element)."));
}

struct EncodedFile
{
    const char* name;
    QByteArray bytes;
};

TEST(ProjectEncodings, FilesFromOtherWritersLoad)
{
    const QString name = QStringLiteral("屏幕Ω");
    const QString body = QStringLiteral("<project><Varnolite><varno>0</varno><Varnolite>"
                                        "<varno>120</varno><lite>%1</lite><pw>64</pw>"
                                        "</Varnolite></Varnolite></project>")
                             .arg(name);
    const QString declared = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\r\n");
    auto utf16 = [](const QString& text, QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder(text));
    };
    const EncodedFile files[] = {
        {"utf-8", body.toUtf8()},
        {"utf-8 bom", "\xEF\xBB\xBF" + body.toUtf8()},
        {"utf-8 declared crlf", QString(declared.arg(QStringLiteral("UTF-8")) + body)
                                    .replace(QStringLiteral("><"), QStringLiteral(">\r\n<"))
                                    .toUtf8()},
        {"utf-16le",
         utf16(declared.arg(QStringLiteral("UTF-16")) + body, QStringConverter::Utf16LE)},
        {"utf-16be", utf16(body, QStringConverter::Utf16BE)},
        {"utf-16le undeclared",
         utf16(QStringLiteral("<?xml version=\"1.0\"?>") + body, QStringConverter::Utf16LE)},
    };
    for (const EncodedFile& file : files) {
        CProjectRoot root;
        ASSERT_TRUE(root.LoadProjectBuffer(file.bytes)) << file.name;
        ASSERT_EQ(root.GetChildCount(), 1) << file.name;
        EXPECT_EQ(root.GetChild(0)->GetName(), name) << file.name;
        EXPECT_EQ(FirstScreen(root)->Width(), 64) << file.name;
    }
}

TEST(ProjectBadInput, MalformedFilesFailWithTheSystemsText)
{
    const QByteArray good = CProjectRoot::NewProject()->SaveProjectBuffer();
    const QByteArray inputs[] = {
        QByteArray(),
        QByteArray("   "),
        good.left(good.size() / 2),
        QByteArray("<project><Varnolite>"),
        QByteArray("\x00\x01\x02\xFF\xFE binary", 12),
        QByteArray("<?xml version=\"1.0\"?>"),
        QByteArray("<a></b>"),
    };
    for (const QByteArray& input : inputs) {
        ClearLastError();
        CProjectRoot root;
        EXPECT_FALSE(root.LoadProjectBuffer(input)) << input.toStdString();
        EXPECT_TRUE(LastError().startsWith(QStringLiteral("Failed on load project. ")))
            << input.toStdString() << LastError().toStdString();
        EXPECT_EQ(root.GetChildCount(), 0);
    }
}

TEST(ProjectBadInput, NestingDeeperThanAnyProjectIsRefused)
{
    // Text zones may hold text zones; a file nesting them without end must not exhaust
    // the stack.
    QByteArray nested;
    for (int i = 0; i < 5000; ++i)
        nested += "<Varnolite><varno>1</varno>";
    for (int i = 0; i < 5000; ++i)
        nested += "</Varnolite>";
    ClearLastError();
    CProjectRoot root;
    EXPECT_FALSE(root.LoadProjectBuffer(Document(nested)));
    EXPECT_TRUE(LastError().startsWith(QStringLiteral("Failed on load project. ")))
        << LastError().toStdString();
    EXPECT_EQ(root.GetChildCount(), 0);

    // Sixteen object levels still load.
    QByteArray deepest = Object(120, {}, Object(110, {}, Object(100, {}, "#")));
    QByteArray inner;
    for (int i = 0; i < 11; ++i)
        inner += "<Varnolite><varno>1</varno>";
    for (int i = 0; i < 11; ++i)
        inner += "</Varnolite>";
    deepest.replace("#", inner);
    CProjectRoot ok;
    EXPECT_TRUE(ok.LoadProjectBuffer(Document(deepest)));
}

TEST(ProjectSaving, FailedSavesKeepThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("show.ledprj"));
    auto root = CProjectRoot::NewProject();
    ASSERT_TRUE(root->SaveProject(path));
    const QByteArray before = ReadFileBytes(path);

    ClearLastError();
    EXPECT_FALSE(root->SaveProject(QString()));
    EXPECT_EQ(LastError(), QStringLiteral("File name error."));

    // A folder in the way of the file.
    const QString blocked = dir.filePath(QStringLiteral("folder.ledprj"));
    QDir().mkpath(blocked);
    EXPECT_FALSE(root->SaveProject(blocked));
    EXPECT_EQ(LastError(), QStringLiteral("Error on save project! ") + blocked +
                               QStringLiteral(": Is a directory"));

    // A target in a folder that does not exist.
    EXPECT_FALSE(root->SaveProject(dir.filePath(QStringLiteral("missing/show.ledprj"))));

    // Saving again over an existing file replaces it whole.
    static_cast<CScreen*>(root->GetChild(0))->SetName(QStringLiteral("Renamed"));
    ASSERT_TRUE(root->SaveProject(path));
    EXPECT_NE(ReadFileBytes(path), before);
    CProjectRoot again;
    ASSERT_TRUE(again.LoadProject(path));
    EXPECT_EQ(again.GetChild(0)->GetName(), QStringLiteral("Renamed"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("show.ledprj")});
}

TEST(ProjectSaving, UnreadableFileLoadsNothing)
{
    CProjectRoot root;
    ClearLastError();
    EXPECT_FALSE(root.LoadProject(QStringLiteral("/nonexistent/folder/x.ledprj")));
    EXPECT_TRUE(LastError().startsWith(QStringLiteral("Failed on load project. ")))
        << LastError().toStdString();
}
