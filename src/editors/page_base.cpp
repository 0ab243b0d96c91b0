#include "editors/page_base.h"

#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "editors/control_names.h"
#include "model/page_rules.h"
#include "model/screen.h"
#include "render/led_paint.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>

namespace {

QIcon ColourIcon(int index)
{
    QPixmap swatch(12, 12);
    swatch.fill(ColourFromIndex(index));
    return QIcon(swatch);
}

} // namespace

CPageBase::CPageBase(CProjectObject& object, CLumivantDoc& doc, QWidget* parent)
    : CPropertyPage(object, doc, parent)
{
    connect(&doc, &CLumivantDoc::objectChanged, this, [this](CProjectObject* changed, int) {
        if (changed == &Object() && !m_editing)
            Load();
    });
}

void CPageBase::Load()
{
    SetReady(false);
    LoadControls();
    SetReady(true);
}

void CPageBase::Commit()
{
    Doc().FlushPendingRender();
}

void CPageBase::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    CPropertyPage::changeEvent(event);
}

void CPageBase::retranslateUi()
{
    for (const auto& relabel : m_relabels)
        relabel();
}

void CPageBase::Edit(RefreshCode code, bool rerender, const std::function<void()>& change,
                     int mergeId)
{
    if (!IsReady())
        return;
    m_editing = true;
    Doc().EditObject(Object(), code, rerender, change, mergeId);
    m_editing = false;
}

int CPageBase::NewMergeId()
{
    return CLumivantDoc::NewMergeId();
}

void CPageBase::Relabel(std::function<void()> relabel)
{
    relabel();
    m_relabels.push_back(std::move(relabel));
}

void CPageBase::Name(QWidget* control, std::function<QString()> text)
{
    KeepAccessibleName(control, std::move(text));
}

void CPageBase::NameTimeDiff(QWidget* sign, QWidget* hours, QWidget* minutes)
{
    Name(sign, [] { return tr("Time difference, sign"); });
    Name(hours, [] { return tr("Time difference, hours"); });
    Name(minutes, [] { return tr("Time difference, minutes"); });
}

QLabel* CPageBase::MakeLabel(std::function<QString()> text)
{
    auto* label = new QLabel(this);
    Relabel([label, text = std::move(text)] { label->setText(text()); });
    return label;
}

CGuardedCombo* CPageBase::MakeCombo(const char* name)
{
    auto* combo = new CGuardedCombo(this);
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

namespace {

// Fills the list again keeping the selection and without telling the page.
void Refill(CGuardedCombo* combo, const std::function<void()>& fill)
{
    QSignalBlocker blocker(combo);
    const int current = combo->currentIndex();
    combo->clear();
    fill();
    combo->setCurrentIndex(current >= 0 && current < combo->count() ? current : 0);
}

} // namespace

CGuardedCombo* CPageBase::MakeListCombo(const char* name, int listId, int first)
{
    CGuardedCombo* combo = MakeCombo(name);
    Relabel([combo, listId, first] {
        Refill(combo, [&] {
            const QStringList items = LoadStringList(listId);
            for (int i = 0; i < items.size(); ++i)
                combo->addItem(items[i], first + i);
        });
    });
    return combo;
}

CStepSpinBox* CPageBase::MakeSpin(const char* name, int minimum, int maximum,
                                  std::vector<CStepSpinBox::Stage> stages)
{
    auto* spin = new CStepSpinBox(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(minimum, maximum);
    spin->SetStages(std::move(stages));
    return spin;
}

CGuardedCombo* CPageBase::MakeColourCombo(const char* name, bool withBlack, bool withRandom)
{
    CGuardedCombo* combo = MakeCombo(name);
    SetNameRole(combo, NameRole::Colour);
    const int count = PageRules::ColourCount(ColourDepth());
    Relabel([combo, count, withBlack, withRandom] {
        Refill(combo, [&] {
            if (withRandom)
                combo->addItem(LoadString(41089), 0);
            for (int i = withBlack ? 0 : 1; i < count; ++i)
                combo->addItem(ColourIcon(i), LoadString(42000 + i), i);
        });
    });
    return combo;
}

void CPageBase::SelectColour(CGuardedCombo* combo, int index) const
{
    combo->SelectData(PageRules::ShowableColourIndex(index, ColourDepth()));
}

CGuardedCombo* CPageBase::MakeSpeedCombo(const char* name, int first, int last)
{
    CGuardedCombo* combo = MakeCombo(name);
    Relabel([combo, first, last] {
        Refill(combo, [&] {
            for (int value = first; value <= last; ++value) {
                QString text = QString::number(value);
                if (value == first)
                    text += LoadString(41004);
                combo->addItem(text, value);
            }
        });
    });
    return combo;
}

CGuardedCombo* CPageBase::MakeFontCombo(const char* name)
{
    CGuardedCombo* combo = MakeCombo(name);
    combo->setEditable(true);
    combo->addItems(QFontDatabase::families());
    combo->setMaxVisibleItems(16);
    return combo;
}

CGuardedCombo* CPageBase::MakeFontSizeCombo(const char* name, bool large)
{
    CGuardedCombo* combo = MakeCombo(name);
    SetNameRole(combo, NameRole::Size);
    QList<int> sizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32};
    if (large)
        sizes << 36 << 40 << 48 << 56 << 64 << 72 << 80 << 88 << 96 << 104 << 112 << 128;
    for (int size : sizes)
        combo->addItem(QString::number(size), size);
    return combo;
}

void CPageBase::SelectText(CGuardedCombo* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else if (combo->isEditable())
        combo->setEditText(text);
}

CScreen* CPageBase::Screen() const
{
    for (CProjectObject* object = &Object(); object; object = object->Parent()) {
        if (object->GetKind() == KindScreen)
            return static_cast<CScreen*>(object);
    }
    return nullptr;
}

int CPageBase::ColourDepth() const
{
    const CScreen* screen = Screen();
    return screen ? screen->ColourDepth() : 1;
}
