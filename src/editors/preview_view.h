#pragma once

#include <QWidget>

class CLumivantDoc;
class CProgram;
class CProjectObject;

// The preview pane: the program's windows at their places on the screen, zoomed, with the
// pages they show; it also plays the program with its entry effects.
class CPreView : public QWidget
{
    Q_OBJECT

public:
    explicit CPreView(CLumivantDoc& doc, QWidget* parent = nullptr);
    ~CPreView() override;

    // Shows the program (or nothing); renders its zones first when they have not been.
    void ShowProgram(CProgram* program);
    CProgram* Program() const { return m_program; }
    // Shows the current program again (after its content or geometry changed).
    void Refresh();
    bool IsRunning() const { return m_running; }
    // Stops playing, as the stop button does; nothing when it is not playing.
    void StopIfRunning();

signals:
    // Playing started or stopped: the main window disables its menus and toolbar while
    // the preview plays.
    void runningChanged(bool running);
    // The person clicked a window of the preview: select it (or its first zone) in the tree.
    void objectClicked(CProjectObject* object);

protected:
    void paintEvent(class QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    CLumivantDoc& m_doc;
    CProgram* m_program = nullptr;
    bool m_running = false;
};
