#include "editors/image_page.h"

#include "base/messages.h"
#include "editors/load_image_dialog.h"
#include "editors/zone_effect_page.h"
#include "model/image_zone.h"
#include "model/page_rules.h"
#include "render/dither.h"
#include "render/led_paint.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

CImagePage::CImagePage(CImageZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    m_keyColour = new QPushButton(Content());
    m_keyColour->setObjectName(QStringLiteral("keyColour"));
    m_keyColour->setFixedWidth(48);
    m_tolerance = MakeSpin("tolerance", 0, 100);
    Name(m_keyColour, [] { return tr("Color to remove"); });
    Name(m_tolerance, [] { return tr("Color tolerance"); });
    m_pixelLimit = MakeSpin("pixelLimit", 0, 200);
    m_speedDirection = MakeListCombo("speedDirection", 41104);
    m_speedValue = MakeCombo("speedValue");
    Name(m_speedValue, [] { return tr("Speed value"); });
    for (int value = 0; value <= PageRules::kMaxImageSpeed; ++value)
        m_speedValue->addItem(QString::number(value), value);
    m_path = new QLineEdit(Content());
    m_path->setObjectName(QStringLiteral("filePath"));
    m_path->setReadOnly(true);
    m_browse = new QPushButton(Content());
    m_browse->setObjectName(QStringLiteral("browse"));
    Relabel([this] { m_browse->setText(tr("Browse...")); });
    m_preview = new QPushButton(Content());
    m_preview->setObjectName(QStringLiteral("preview"));
    Relabel([this] { m_preview->setText(tr("Preview")); });

    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("Image")); });
    auto* grid = new QGridLayout(box);
    grid->addWidget(MakeLabel([] { return tr("Remove color:"); }), 0, 0);
    grid->addWidget(m_keyColour, 0, 1);
    grid->addWidget(m_tolerance, 0, 2);
    grid->addWidget(MakeLabel([] { return tr("Pixel limit:"); }), 1, 0);
    grid->addWidget(m_pixelLimit, 1, 2);
    grid->addWidget(MakeLabel([] { return tr("Speed:"); }), 2, 0);
    grid->addWidget(m_speedDirection, 2, 1);
    grid->addWidget(m_speedValue, 2, 2);
    grid->addWidget(MakeLabel([] { return tr("File path:"); }), 3, 0);
    grid->addWidget(m_path, 3, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_browse);
    buttons->addWidget(m_preview);
    grid->addLayout(buttons, 4, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    m_effectPage = new CZoneEffectPage(zone, doc, Content());
    m_effectPage->setObjectName(QStringLiteral("effectPage"));
    auto* layout = new QHBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box, 1, Qt::AlignTop);
    layout->addWidget(m_effectPage, 0, Qt::AlignTop);

    connect(m_keyColour, &QPushButton::clicked, this, [this] {
        const QColor chosen =
            QColorDialog::getColor(ColourFromColorRef(Image().Key().keyColour), this);
        if (!chosen.isValid())
            return;
        EditContent([&] { Image().Key().keyColour = ColorRefFromColour(chosen); });
        ShowKeyColour();
    });
    connect(m_tolerance, &QSpinBox::valueChanged, this, [this](int value) {
        EditContent([&] { Image().Key().tolerance = value; }, m_toleranceMerge);
    });
    connect(m_pixelLimit, &QSpinBox::valueChanged, this, [this](int value) {
        EditContent([&] { Image().Key().pixelLimit = value; }, m_limitMerge);
    });
    connect(m_speedDirection, &QComboBox::activated, this, [this] { StoreSpeed(); });
    connect(m_speedValue, &QComboBox::activated, this, [this] { StoreSpeed(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { OpenLoadDialog(true); });
    connect(m_preview, &QPushButton::clicked, this, [this] { OpenLoadDialog(false); });
    Load();
}

CImageZone& CImagePage::Image() const
{
    return static_cast<CImageZone&>(Object());
}

void CImagePage::ShowKeyColour()
{
    m_keyColour->setStyleSheet(QStringLiteral("background-color: %1;")
                                   .arg(ColourFromColorRef(Image().Key().keyColour).name()));
}

void CImagePage::StoreSpeed()
{
    const int speed =
        PageRules::ImageSpeed(m_speedDirection->CurrentData(), m_speedValue->CurrentData());
    Edit(RefreshCode::Content, false, [&] { Image().Key().extra = speed; });
}

CLoadImageDialog* CImagePage::MakeLoadDialog(const QString& path)
{
    const LedRect rect = Image().WindowRect();
    auto* dialog = new CLoadImageDialog(Image().Key(), QSize(rect.Width(), rect.Height()),
                                        ColourDepth(), this);
    if (!path.isEmpty())
        dialog->SetPath(path);
    return dialog;
}

void CImagePage::OpenLoadDialog(bool browse)
{
    CLoadImageDialog* dialog = MakeLoadDialog(Image().Key().sourcePath);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        QString path = dialog->Path();
        if (path.isEmpty())
            return;
        if (dialog->DitherChosen()) {
            // The zone shows the dithered picture, written beside the project.
            const LedRect rect = Image().WindowRect();
            QString written;
            QString reason;
            if (!WriteDitheredPicture(path, rect.Width(), rect.Height(), ColourDepth(),
                                      Image().Key(), DitheredPictureFolder(Image(), path), written,
                                      reason)) {
                ShowWarning(reason);
                return;
            }
            path = written;
        }
        EditContent([&] { Image().Key().sourcePath = path.left(ImageKeyParams::kPathCapacity); });
        Load();
    });
    if (browse)
        QTimer::singleShot(0, dialog, [dialog] {
            dialog->findChild<QPushButton*>(QStringLiteral("browse"))->click();
        });
    dialog->open();
}

void CImagePage::LoadControls()
{
    const ImageKeyParams& key = Image().Key();
    QSignalBlocker b1(m_tolerance), b2(m_pixelLimit);
    ShowKeyColour();
    m_tolerance->setValue(key.tolerance);
    m_pixelLimit->setValue(key.pixelLimit);
    m_speedDirection->SelectData(PageRules::ImageSpeedDirection(key.extra));
    m_speedValue->SelectData(PageRules::ImageSpeedMagnitude(key.extra));
    m_path->setText(key.sourcePath);
}
