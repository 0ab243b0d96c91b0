#pragma once

#include "model/image_key_params.h"
#include "render/image_preview.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Load Image": choose a picture file and see it keyed and reduced as the LED will show
// it at the target size; OK takes the file.
class CLoadImageDialog : public QDialog
{
    Q_OBJECT

public:
    CLoadImageDialog(const ImageKeyParams& key, QSize target, int colourDepth,
                     QWidget* parent = nullptr);

    // Shows the file (as if chosen); false when it cannot be shown (the error is shown).
    bool SetPath(const QString& path);
    QString Path() const { return m_path; }
    const ImagePreview& Preview() const { return m_preview; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void Browse();

    ImageKeyParams m_key;
    QSize m_target;
    int m_colourDepth;
    QString m_path;
    ImagePreview m_preview;
    QLineEdit* m_pathEdit;
    QPushButton* m_browse;
    QLabel* m_image;
    QLabel* m_info;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
