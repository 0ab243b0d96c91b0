#pragma once

#include "editors/page_base.h"

class CScreen;
class QAction;
class QLineEdit;

// The main window's commands that the screen page offers as buttons (null: no button).
struct ScreenCommands
{
    QAction* syncTimer = nullptr;
    QAction* setup = nullptr;
    QAction* brightness = nullptr;
    QAction* power = nullptr;
};

// A screen's panel and link summary, its name, its last delivery (refreshed after each
// send), and the buttons of the controller commands: each runs the main window's own
// action and is enabled as that action is.
class CScreenPage : public CPageBase
{
    Q_OBJECT

public:
    CScreenPage(CScreen& screen, CLumivantDoc& doc, const ScreenCommands& commands,
                QWidget* parent = nullptr);

    // The panel and link texts as the page shows them.
    static QString PanelSummary(const CScreen& screen);
    static QString LinkSummary(const CScreen& screen);
    // The last receipt of the screen in one line, or that it was never sent.
    static QString DeliveryLine(const CScreen& screen);

protected:
    void LoadControls() override;

private:
    CScreen& Screen() const;

    QLineEdit* m_name;
    class QLabel* m_panel;
    class QLabel* m_link;
    class QLabel* m_delivery;
    int m_nameMerge = NewMergeId();
};
