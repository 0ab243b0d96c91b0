#include "editors/image_page.h"
#include "editors/load_image_dialog.h"
#include "editors/table_page.h"
#include "model/image_zone.h"
#include "model/table_zone.h"
#include "page_fixture.h"
#include "support/accessible_names.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using TablePageTest = PageTest;

TEST_F(TablePageTest, ShapeCommandsEditingInPlaceAndCellControlsRoundTrip)
{
    auto& table = AddZone<CTableZone>(KindTable);
    auto page = Page(table);
    auto* grid = Find<QTableWidget>(page.get(), "grid");
    ASSERT_EQ(grid->rowCount(), 2);
    ASSERT_EQ(grid->columnCount(), 2);
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("3"));

    Find<QPushButton>(page.get(), "addColumn")->click();
    Find<QPushButton>(page.get(), "addRow")->click();
    ASSERT_EQ(table.ColumnCount(), 3);
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->columnWidth(2), 60 * CTablePage::kGridZoom);
    EXPECT_EQ(table.Cell(2, 2).foreColour, 255u);
    EXPECT_EQ(table.Cell(2, 2).alignment, 4);

    grid->item(2, 1)->setText(QStringLiteral("Price"));
    EXPECT_EQ(table.Cell(2, 1).text, QStringLiteral("Price"));
    grid->setCurrentCell(0, 1);
    Choose(page.get(), "foreColour", 2);
    Choose(page.get(), "cellFontSize", 64);
    Choose(page.get(), "borderColour", 7);
    auto* text = Find<QLineEdit>(page.get(), "cellText");
    text->selectAll();
    QTest::keyClicks(text, QString(200, u'x'));
    EXPECT_EQ(table.Cell(0, 1).foreColour, 0x00FF00u);
    EXPECT_EQ(table.Cell(0, 1).fontSize, 64);
    EXPECT_EQ(table.Cell(0, 1).text.size(), 127);
    EXPECT_EQ(table.GetLineColour(), 0xFFFFFFu);

    auto again = Page(table);
    auto* grid2 = Find<QTableWidget>(again.get(), "grid");
    grid2->setCurrentCell(0, 1);
    EXPECT_EQ(Chosen(again.get(), "foreColour"), 2);
    EXPECT_EQ(Chosen(again.get(), "cellFontSize"), 64);
    EXPECT_EQ(Chosen(again.get(), "borderColour"), 7);
    EXPECT_EQ(grid2->item(2, 1)->text(), QStringLiteral("Price"));
}

TEST_F(TablePageTest, ATableOfOneRowAndColumnIsNotShrunkFurther)
{
    auto& table = AddZone<CTableZone>(KindTable);
    table.SetSize(1, 1);
    auto page = Page(table);
    Find<QPushButton>(page.get(), "deleteRow")->click();
    Find<QPushButton>(page.get(), "deleteColumn")->click();
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.ColumnCount(), 1);
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_EQ(Find<QTableWidget>(page.get(), "grid")->rowCount(), 1);
}

TEST_F(TablePageTest, ARedScreenOffersTwoColoursAndShowsFullColourCellsAsRed)
{
    SetScreen(128, 32, 1);
    auto& table = AddZone<CTableZone>(KindTable);
    table.Cell(0, 0).foreColour = 0xFFFF00; // cyan from a hand-edited file
    auto page = Page(table);
    auto* fore = Find<QComboBox>(page.get(), "foreColour");
    EXPECT_EQ(fore->count(), 2);
    EXPECT_EQ(fore->currentData().toInt(), 1);
    EXPECT_EQ(table.Cell(0, 0).foreColour, 0xFFFF00u);
}

class ImagePageTest : public PageTest
{
protected:
    QTemporaryDir dir;
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString WritePicture()
    {
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(QColor(250, 250, 250)); // the default remove colour
        for (int x = 0; x < 10; ++x)
            picture.setPixel(x, 5, qRgb(200, 0, 0));
        const QString path = dir.filePath(QStringLiteral("sign.png"));
        EXPECT_TRUE(picture.save(path));
        return path;
    }
};

TEST_F(ImagePageTest, KeyingAndSpeedRoundTripAndTheDialogShowsThePictureAsTheLedWill)
{
    CPlayWindow& window = AddWindow({0, 0, 40, 20});
    auto& zone = AddZone<CImageZone>(KindImage, &window);
    auto page = Page(zone);
    auto* imagePage = qobject_cast<CImagePage*>(page.get());
    ASSERT_TRUE(imagePage);
    ASSERT_NE(imagePage->EffectPage(), nullptr);
    Find<QSpinBox>(page.get(), "tolerance")->setValue(40);
    Find<QSpinBox>(page.get(), "pixelLimit")->setValue(120);
    Choose(page.get(), "speedDirection", 1);
    Choose(page.get(), "speedValue", 6);
    EXPECT_EQ(zone.Key().extra, 6);
    Choose(page.get(), "speedDirection", 0);
    EXPECT_EQ(zone.Key().extra, -6);

    std::unique_ptr<CLoadImageDialog> dialog(imagePage->MakeLoadDialog(WritePicture()));
    const QImage& shown = dialog->Preview().shown;
    ASSERT_EQ(shown.size(), QSize(40, 20));
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0u);         // keyed away
    EXPECT_EQ(shown.pixel(2, 10) & 0xFFFFFF, 0xFF0000u); // red, full on
    EXPECT_TRUE(Find<QPushButton>(dialog.get(), "ok")->isEnabled());
    EXPECT_EQ(dialog->Preview().frameCount, 1);
    dialog->show();
    EXPECT_TRUE(ControlsWithoutName(dialog.get()).isEmpty())
        << ControlsWithoutName(dialog.get()).join(u'\n').toStdString();

    auto again = Page(zone);
    EXPECT_EQ(Find<QSpinBox>(again.get(), "tolerance")->value(), 40);
    EXPECT_EQ(Find<QSpinBox>(again.get(), "pixelLimit")->value(), 120);
    EXPECT_EQ(Chosen(again.get(), "speedDirection"), 0);
    EXPECT_EQ(Chosen(again.get(), "speedValue"), 6);
}

TEST_F(ImagePageTest, BrowseTakesTheChosenFileAndBadFilesAreRefusedWithTheSystemsText)
{
    auto& zone = AddZone<CImageZone>(KindImage);
    zone.Key().sourcePath = QStringLiteral("/kept/before.png");
    auto page = Page(zone);
    auto* imagePage = qobject_cast<CImagePage*>(page.get());

    QByteArray hugeBmp("BM");
    hugeBmp += QByteArray::fromHex("36000000"
                                   "00000000"
                                   "36000000"
                                   "28000000"
                                   "30750000"
                                   "30750000"
                                   "0100"
                                   "1800"
                                   "00000000");
    hugeBmp += QByteArray(32, '\0');
    const QString bad[] = {dir.filePath(QStringLiteral("missing.png")),
                           Write(QStringLiteral("corrupt.png"), "\x89PNG\r\n\x1a\n garbage"),
                           Write(QStringLiteral("notes.gif"), "just some text"),
                           Write(QStringLiteral("huge.bmp"), hugeBmp)};
    for (const QString& path : bad) {
        std::unique_ptr<CLoadImageDialog> dialog(imagePage->MakeLoadDialog(QString()));
        EXPECT_FALSE(dialog->SetPath(path)) << path.toStdString();
        EXPECT_FALSE(Find<QPushButton>(dialog.get(), "ok")->isEnabled());
        EXPECT_TRUE(Find<QLabel>(dialog.get(), "image")->text().startsWith("Failed on"))
            << Find<QLabel>(dialog.get(), "image")->text().toStdString();
        EXPECT_TRUE(dialog->Path().isEmpty());
    }
    EXPECT_EQ(zone.Key().sourcePath, QStringLiteral("/kept/before.png"));

    // Through the page's button: the dialog opens, the person types a good file, OK.
    const QString good = WritePicture();
    // The dialog opens without blocking; the person types a good file and clicks OK.
    Find<QPushButton>(page.get(), "preview")->click();
    auto* dialog = page->findChild<CLoadImageDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    auto* path = Find<QLineEdit>(dialog, "imagePath");
    path->selectAll();
    QTest::keyClicks(path, good);
    emit path->editingFinished();
    Find<QPushButton>(dialog, "ok")->click();
    EXPECT_EQ(zone.Key().sourcePath, good);
    EXPECT_EQ(Find<QLineEdit>(page.get(), "filePath")->text(), good);
}

} // namespace
