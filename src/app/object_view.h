#pragma once

#include "editors/property_page.h"
#include "editors/screen_page.h"

#include <QPointer>
#include <QWidget>

class CLumivantDoc;
class CProjectObject;
class CPropertyPage;

// The property host below the tree and the preview: shows the property page of the
// selected object over the whole host; for a zone, its entry-effect page at the right.
class CObjectView final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMinimumHeight = 150;
    // A page that needs more than this scrolls within itself rather than hide the preview.
    static constexpr int kMaximumNeededHeight = 360;

    // commands: the main window's actions a screen's page offers as buttons.
    explicit CObjectView(CLumivantDoc& doc, const ScreenCommands& commands = {},
                         QWidget* parent = nullptr);
    ~CObjectView() override;

    // Shows the page of the object (none for null). A pending re-render runs first and
    // the old page writes back what it still holds.
    void ShowPage(CProjectObject* object);
    // Lets the page go without writing back (its object is going away).
    void DropPage();
    CPropertyPage* Page() const { return m_page; }
    CPropertyPage* EffectPage() const { return m_effectPage; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutPages();

    CLumivantDoc& m_doc;
    ScreenCommands m_commands;
    QPointer<CPropertyPage> m_page;
    QPointer<CPropertyPage> m_effectPage;
};
