#pragma once

#include "document/refresh_code.h"
#include "editors/guarded_combo.h"
#include "editors/property_page.h"
#include "editors/step_spin_box.h"

#include <functional>
#include <vector>

class CScreen;
class QLabel;

// What every property page shares: loading under the ready flag, writing through the
// document, reloading when the object changed elsewhere (an undo), and relabelling when
// the language changes.
class CPageBase : public CPropertyPage
{
    Q_OBJECT

public:
    CPageBase(CProjectObject& object, CLumivantDoc& doc, QWidget* parent);

    // Fills the controls; nothing is written back while it runs.
    void Load() final;
    // Every control writes at once; what is left is a pending re-render, run it now.
    void Commit() override;

protected:
    virtual void LoadControls() = 0;
    void changeEvent(QEvent* event) override;
    // Sets every label and list again in the current language.
    void retranslateUi();

    // Writes a change into the object through the document, once the page is ready.
    void Edit(RefreshCode code, bool rerender, const std::function<void()>& change,
              int mergeId = 0);
    // A merge id of its own for each control, so that its steps merge only with its own.
    static int NewMergeId();

    // Runs relabel now and again on every change of language.
    void Relabel(std::function<void()> relabel);
    // The accessible name of a control that no label names, in the language in use.
    void Name(QWidget* control, std::function<QString()> text);
    // The names of a time difference's sign, hours and minutes.
    void NameTimeDiff(QWidget* sign, QWidget* hours, QWidget* minutes);
    QLabel* MakeLabel(std::function<QString()> text);
    CGuardedCombo* MakeCombo(const char* name);
    // A list from a numbered text split at "|"; entry i holds the value first + i.
    CGuardedCombo* MakeListCombo(const char* name, int listId, int first = 0);
    CStepSpinBox* MakeSpin(const char* name, int minimum, int maximum,
                           std::vector<CStepSpinBox::Stage> stages = {{0, 1}});
    // The screen's colours (entry data = colour index); black and a "Rand" entry
    // (data 0) on request.
    CGuardedCombo* MakeColourCombo(const char* name, bool withBlack = true,
                                   bool withRandom = false);
    // Selects a stored colour index, shown as the nearest the screen can show.
    void SelectColour(CGuardedCombo* combo, int index) const;
    // Speed values from first to last, the fastest (first) marked "(Fast)".
    CGuardedCombo* MakeSpeedCombo(const char* name, int first, int last);
    // Font faces of the system, and the font size lists.
    CGuardedCombo* MakeFontCombo(const char* name);
    CGuardedCombo* MakeFontSizeCombo(const char* name, bool large);
    static void SelectText(CGuardedCombo* combo, const QString& text);

    // The screen the object belongs to (null when there is none) and its colour depth.
    CScreen* Screen() const;
    int ColourDepth() const;

private:
    bool m_editing = false;
    std::vector<std::function<void()>> m_relabels;
};
