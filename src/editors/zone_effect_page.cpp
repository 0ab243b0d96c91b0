#include "editors/zone_effect_page.h"

#include "model/effect_zone.h"
#include "model/page_rules.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

CZoneEffectPage::CZoneEffectPage(CEffectZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CPageBase(zone, doc, parent)
{
    m_action = MakeListCombo("effectAction", 41003);
    m_action->setMaxVisibleItems(20);
    m_speed = MakeSpeedCombo("effectSpeed", 0, 63);
    m_hold = MakeSpin("effectHold", 0, PageRules::kMaxHoldSeconds, {{0, 1}, {2000, 10}});
    m_clear = MakeListCombo("effectClear", 41121);

    auto* holdRow = new QHBoxLayout;
    holdRow->addWidget(m_hold, 1);
    holdRow->addWidget(MakeLabel([] { return tr("Sec"); }));
    auto* box = new QGroupBox(this);
    Relabel([box] { box->setTitle(tr("Effect")); });
    auto* form = new QFormLayout(box);
    form->addRow(MakeLabel([] { return tr("Action:"); }), m_action);
    form->addRow(MakeLabel([] { return tr("Speed:"); }), m_speed);
    form->addRow(MakeLabel([] { return tr("Hold:"); }), holdRow);
    form->addRow(MakeLabel([] { return tr("Clear:"); }), m_clear);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addStretch();

    connect(m_action, &QComboBox::activated, this, [this] {
        const int action = m_action->CurrentData();
        // Continuous move left lays the pages out as one strip: render again.
        const bool rerender = (action == ActionContinuousMoveLeft) !=
                              (Zone().GetAction() == ActionContinuousMoveLeft);
        Edit(RefreshCode::EffectSettings, rerender, [&] { Zone().SetAction(action); });
        EnableHold();
    });
    connect(m_speed, &QComboBox::activated, this, [this] {
        Edit(RefreshCode::EffectSettings, false, [&] { Zone().SetSpeed(m_speed->CurrentData()); });
    });
    connect(m_hold, &QSpinBox::valueChanged, this, [this](int seconds) {
        Edit(
            RefreshCode::EffectSettings, false,
            [&] { Zone().SetHold(PageRules::StoredHold(seconds)); }, m_holdMerge);
    });
    connect(m_clear, &QComboBox::activated, this, [this] {
        Edit(RefreshCode::EffectSettings, false,
             [&] { Zone().SetClearMode(m_clear->CurrentData()); });
    });
    Load();
}

CEffectZone& CZoneEffectPage::Zone() const
{
    return static_cast<CEffectZone&>(Object());
}

void CZoneEffectPage::LoadControls()
{
    const CEffectZone& zone = Zone();
    QSignalBlocker blocker(m_hold);
    m_action->SelectData(zone.GetAction());
    m_speed->SelectData(zone.GetSpeed());
    m_hold->setValue(PageRules::HoldSeconds(zone.GetHold()));
    m_clear->SelectData(zone.GetClearMode());
    EnableHold();
}

void CZoneEffectPage::EnableHold()
{
    m_hold->setEnabled(PageRules::HasHoldTime(m_action->CurrentData()));
}
