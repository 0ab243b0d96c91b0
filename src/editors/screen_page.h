#pragma once

#include "editors/page_base.h"

class CScreen;
class QLineEdit;

// A screen's panel and link summary, its name, and the buttons of the controller
// commands, which the main window carries out.
class CScreenPage : public CPageBase
{
    Q_OBJECT

public:
    // The main window's command ids the buttons send.
    enum Command : int {
        CommandSyncTimer = 32786,
        CommandSetup = 32785,
        CommandBrightness = 32787,
        CommandPower = 32788,
    };

    CScreenPage(CScreen& screen, CLumivantDoc& doc, QWidget* parent = nullptr);

    // The panel and link texts as the page shows them.
    static QString PanelSummary(const CScreen& screen);
    static QString LinkSummary(const CScreen& screen);

signals:
    void commandRequested(int commandId);

protected:
    void LoadControls() override;

private:
    CScreen& Screen() const;

    QLineEdit* m_name;
    class QLabel* m_panel;
    class QLabel* m_link;
    int m_nameMerge = NewMergeId();
};
