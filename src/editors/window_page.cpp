#include "editors/window_page.h"

#include "base/string_table.h"
#include "model/page_rules.h"
#include "model/play_window.h"
#include "model/program.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// The one-row frame patterns of 32 dots (bit 0 the first dot).
constexpr std::uint32_t kFramePatterns[] = {
    0x11111111, 0x33333333, 0x55555555, 0xF0F0F0F0, 0x9C9C9C9C, 0xF93F27C9, 0xF838F838,
    0xFF9CFF9C, 0xFF00FF00, 0xFF88FF88, 0xFFFF0000, 0xFFF11FFF, 0xFFFFFFFF,
};

QIcon FramePatternIcon(std::uint32_t bits)
{
    QPixmap strip(64, 6);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    for (int dot = 0; dot < 32; ++dot) {
        if ((bits >> dot) & 1)
            painter.fillRect(dot * 2, 2, 2, 2, Qt::red);
    }
    return QIcon(strip);
}

const std::vector<CStepSpinBox::Stage> kGeometrySteps{{0, 1}, {2000, 8}, {3000, 32}};

} // namespace

CWindowPage::CWindowPage(CPlayWindow& window, CLumivantDoc& doc, QWidget* parent)
    : CPageBase(window, doc, parent)
{
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("windowName"));
    m_name->setMaxLength(CProjectObject::kNameCapacity);
    m_x = MakeSpin("windowX", 0, 8176, kGeometrySteps);
    m_y = MakeSpin("windowY", 0, 508, kGeometrySteps);
    m_width = MakeSpin("windowWidth", PageRules::kMinWindowWidth, 8192, kGeometrySteps);
    m_height = MakeSpin("windowHeight", PageRules::kMinWindowHeight, 512, kGeometrySteps);

    m_frameType = MakeCombo("frameType");
    m_frameType->setIconSize(QSize(64, 6));
    Relabel([this] {
        QSignalBlocker blocker(m_frameType);
        const int current = m_frameType->currentIndex();
        m_frameType->clear();
        m_frameType->addItem(LoadString(41090), 0);
        m_frameType->addItem(LoadString(41089), 1);
        for (int i = 0; i < static_cast<int>(std::size(kFramePatterns)); ++i)
            m_frameType->addItem(FramePatternIcon(kFramePatterns[i]), QString(), i + 2);
        m_frameType->setCurrentIndex(std::max(current, 0));
    });
    m_frameMotion = MakeListCombo("frameMotion", 41088);
    m_frameSpeed = MakeCombo("frameSpeed");
    Relabel([this] {
        QSignalBlocker blocker(m_frameSpeed);
        const int current = m_frameSpeed->currentIndex();
        m_frameSpeed->clear();
        m_frameSpeed->addItem(LoadString(41089), 0);
        for (int speed = 1; speed <= 14; ++speed)
            m_frameSpeed->addItem(
                QString::number(speed) + (speed == 1 ? LoadString(41004) : QString()), speed);
        m_frameSpeed->setCurrentIndex(std::max(current, 0));
    });
    m_frameColour = MakeColourCombo("frameColour", false, true);

    auto* box = new QGroupBox(this);
    Relabel([box] { box->setTitle(tr("Window")); });
    auto* form = new QFormLayout(box);
    form->addRow(MakeLabel([] { return tr("Name:"); }), m_name);
    form->addRow(MakeLabel([] { return tr("X:"); }), m_x);
    form->addRow(MakeLabel([] { return tr("Y:"); }), m_y);
    form->addRow(MakeLabel([] { return tr("Width:"); }), m_width);
    form->addRow(MakeLabel([] { return tr("Height:"); }), m_height);
    form->addRow(MakeLabel([] { return tr("Frame:"); }), m_frameType);
    form->addRow(MakeLabel([] { return tr("Dircc:"); }), m_frameMotion);
    form->addRow(MakeLabel([] { return tr("Speed:"); }), m_frameSpeed);
    form->addRow(MakeLabel([] { return tr("Color:"); }), m_frameColour);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addStretch();

    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.isEmpty())
            return;
        Edit(
            RefreshCode::Name, false, [&] { Window().SetName(text); }, m_nameMerge);
    });
    for (CStepSpinBox* spin : {m_x, m_y, m_width, m_height})
        connect(spin, &QSpinBox::valueChanged, this, [this] { StoreGeometry(); });
    for (CGuardedCombo* combo : {m_frameType, m_frameMotion, m_frameSpeed, m_frameColour})
        connect(combo, &QComboBox::activated, this, [this] { StoreFrame(); });
    Load();
}

CPlayWindow& CWindowPage::Window() const
{
    return static_cast<CPlayWindow&>(Object());
}

void CWindowPage::LoadControls()
{
    const CPlayWindow& window = Window();
    const LedRect& rect = window.WindowRect();
    QSignalBlocker b1(m_name), b2(m_x), b3(m_y), b4(m_width), b5(m_height);
    m_name->setText(window.GetName());
    m_x->setValue(rect.left);
    m_y->setValue(rect.top);
    m_width->setValue(rect.Width());
    m_height->setValue(rect.Height());
    const WindowFrame& frame = window.Frame();
    m_frameType->SelectData(frame.enabled ? frame.type : 0);
    m_frameMotion->SelectData(frame.direction);
    m_frameSpeed->SelectData(frame.speed);
    SelectColour(m_frameColour, frame.colour);
    if (m_frameColour->findData(PageRules::ShowableColourIndex(frame.colour, ColourDepth())) < 0)
        m_frameColour->setCurrentIndex(1);
}

void CWindowPage::StoreGeometry()
{
    const auto* program = dynamic_cast<const CProgram*>(Window().Parent());
    const int screenWidth = program ? program->ScreenWidth() : 8192;
    const int screenHeight = program ? program->ScreenHeight() : 512;
    const std::optional<LedRect> rect = PageRules::WindowRectFromControls(
        m_x->value(), m_y->value(), m_width->value(), m_height->value(), screenWidth, screenHeight);
    if (!rect) {
        // Off the screen: the window keeps its rectangle, and the controls show it again.
        if (IsReady())
            Load();
        return;
    }
    if (*rect == Window().WindowRect())
        return;
    Edit(
        RefreshCode::Geometry, true, [&] { Window().SetWindowRect(*rect); }, m_geometryMerge);
}

void CWindowPage::StoreFrame()
{
    Edit(RefreshCode::Content, true, [this] {
        WindowFrame& frame = Window().Frame();
        frame.type = static_cast<std::uint16_t>(m_frameType->CurrentData());
        frame.enabled = frame.type != 0 ? 1 : 0;
        frame.direction = static_cast<std::uint16_t>(m_frameMotion->CurrentData());
        frame.speed = static_cast<std::uint16_t>(m_frameSpeed->CurrentData());
        frame.colour = static_cast<std::uint16_t>(m_frameColour->CurrentData());
    });
}
