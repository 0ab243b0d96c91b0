#pragma once

#include <QWidget>

class CLumivantDoc;
class CProjectObject;

// A page of the property host: edits one object. Filling the controls never writes back
// (the ready flag is set when loading has finished); every change of a control is written
// into the object at once through the document's EditObject, which records the undo step
// and tells the views.
class CPropertyPage : public QWidget
{
    Q_OBJECT

public:
    CPropertyPage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent = nullptr)
        : QWidget(parent), m_object(object), m_doc(doc)
    {}

    CProjectObject& Object() const { return m_object; }
    CLumivantDoc& Doc() const { return m_doc; }

    // Fills the controls from the object (again, after an undo or a change elsewhere).
    virtual void Load() = 0;
    // Writes what a control still holds back (a field being edited) before the page goes.
    virtual void Commit() {}

protected:
    bool IsReady() const { return m_ready; }
    void SetReady(bool ready) { m_ready = ready; }

private:
    CProjectObject& m_object;
    CLumivantDoc& m_doc;
    bool m_ready = false;
};
