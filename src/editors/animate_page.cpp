#include "editors/animate_page.h"

#include "editors/text_editor_dlg.h"
#include "model/animate_zone.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

CAnimatePage::CAnimatePage(CAnimateZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    m_type = MakeListCombo("animationType", 41094);
    m_maxStep = MakeSpin("maxStep", 8, 64);
    m_maxStep->setSingleStep(4);
    m_hold1 = MakeSpin("hold1", 0, 1000, {{0, 1}, {2000, 4}});
    m_hold2 = MakeSpin("hold2", 0, 1000, {{0, 1}, {2000, 4}});
    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("Animate")); });
    auto* form = new QFormLayout(box);
    form->addRow(MakeLabel([] { return tr("Type:"); }), m_type);
    form->addRow(MakeLabel([] { return tr("Max step:"); }), m_maxStep);
    form->addRow(MakeLabel([] { return tr("Hold 1:"); }), m_hold1);
    form->addRow(MakeLabel([] { return tr("Hold 2:"); }), m_hold2);

    m_editorSlot = new QWidget(Content());
    m_editorSlot->setObjectName(QStringLiteral("editorSlot"));
    m_editor = new CTextEditorDlg(zone, doc, m_editorSlot);
    auto* slotLayout = new QVBoxLayout(m_editorSlot);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    slotLayout->addWidget(m_editor, 1);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(m_editorSlot, 1);

    connect(m_type, &QComboBox::activated, this,
            [this] { EditContent([&] { Animate().SetAnimationType(m_type->CurrentData()); }); });
    connect(m_maxStep, &QSpinBox::valueChanged, this, [this](int step) {
        // Steps come in fours; a typed value takes the four below it.
        const int stored = 8 + (step - 8) / 4 * 4;
        EditContent([&] { Animate().SetMaxStep(stored); }, m_stepMerge);
    });
    connect(m_hold1, &QSpinBox::valueChanged, this,
            [this](int hold) { EditContent([&] { Animate().SetHold1(hold); }, m_hold1Merge); });
    connect(m_hold2, &QSpinBox::valueChanged, this,
            [this](int hold) { EditContent([&] { Animate().SetHold2(hold); }, m_hold2Merge); });
    Load();
}

CAnimateZone& CAnimatePage::Animate() const
{
    return static_cast<CAnimateZone&>(Object());
}

void CAnimatePage::LoadControls()
{
    const CAnimateZone& zone = Animate();
    QSignalBlocker b1(m_maxStep), b2(m_hold1), b3(m_hold2);
    m_type->SelectData(zone.GetAnimationType());
    m_maxStep->setValue(zone.GetMaxStep());
    m_hold1->setValue(zone.GetHold1());
    m_hold2->setValue(zone.GetHold2());
    // The editor follows the zone by itself.
}
