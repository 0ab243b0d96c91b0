#pragma once

#include "model/image_key_params.h"
#include "render/image_preview.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Load Image": choose a picture file and see it as the card will show it at the target size
// (keyed and reduced to the screen's colours, or dithered to them); OK takes the file.
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
    // "Dither to the sign's colours": the picture is to be dithered (a still picture only).
    bool DitherChosen() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void Browse();
    void ShowPicture();

    ImageKeyParams m_key;
    QSize m_target;
    int m_colourDepth;
    QString m_path;
    ImagePreview m_preview;
    QLineEdit* m_pathEdit;
    QPushButton* m_browse;
    QLabel* m_image;
    QLabel* m_info;
    QCheckBox* m_dither;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
