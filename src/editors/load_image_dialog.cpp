#include "editors/load_image_dialog.h"

#include "base/last_error.h"
#include "editors/control_names.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kShownWidth = 384;

} // namespace

CLoadImageDialog::CLoadImageDialog(const ImageKeyParams& key, QSize target, int colourDepth,
                                   QWidget* parent)
    : QDialog(parent), m_key(key), m_target(target), m_colourDepth(colourDepth)
{
    setObjectName(QStringLiteral("loadImageDialog"));
    m_pathEdit = new QLineEdit(this);
    m_pathEdit->setObjectName(QStringLiteral("imagePath"));
    m_browse = new QPushButton(this);
    m_browse->setObjectName(QStringLiteral("browse"));
    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("image"));
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setMinimumSize(kShownWidth, 160);
    m_image->setStyleSheet(QStringLiteral("background: black; color: #c0c0c0;"));
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("info"));
    m_info->setWordWrap(true);
    m_dither = new QCheckBox(this);
    m_dither->setObjectName(QStringLiteral("dither"));
    m_dither->setEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setEnabled(false);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("cancel"));

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_pathEdit, 1);
    pathRow->addWidget(m_browse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(m_image, 1);
    layout->addWidget(m_info);
    layout->addWidget(m_dither);
    layout->addWidget(buttons);
    connect(m_browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(m_pathEdit, &QLineEdit::editingFinished, this, [this] {
        if (m_pathEdit->text() != m_path)
            SetPath(m_pathEdit->text());
    });
    connect(m_dither, &QCheckBox::toggled, this, [this] { ShowPicture(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    retranslateUi();
    KeepAccessibleName(m_pathEdit, [] { return tr("Picture file"); });
    KeepAccessibleName(m_image, [] { return tr("Picture as the sign shows it"); });
    NameControlsByTheirLabels(this);
}

void CLoadImageDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void CLoadImageDialog::retranslateUi()
{
    setWindowTitle(tr("Load Image"));
    m_browse->setText(tr("Browse..."));
    m_dither->setText(tr("Dither to the sign's colours"));
    m_dither->setToolTip(tr("Photos keep their tones as a mix of lit and dark LEDs; the "
                            "dithered picture is saved beside the project"));
}

bool CLoadImageDialog::DitherChosen() const
{
    return m_dither->isEnabled() && m_dither->isChecked();
}

void CLoadImageDialog::ShowPicture()
{
    const QImage& shown = DitherChosen() ? m_preview.dithered : m_preview.shown;
    if (shown.isNull())
        return;
    const int zoom = std::max(1, std::min(8, kShownWidth / std::max(1, shown.width())));
    m_image->setPixmap(QPixmap::fromImage(
        shown.scaled(shown.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

void CLoadImageDialog::Browse()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Load Image"), m_path,
                                                      tr("Images (%1)").arg(ImageFileFilter()));
    if (!path.isEmpty())
        SetPath(path);
}

bool CLoadImageDialog::SetPath(const QString& path)
{
    m_pathEdit->setText(path);
    ImagePreview preview;
    if (!LoadImagePreview(path, m_key, m_target.width(), m_target.height(), m_colourDepth,
                          preview)) {
        // The file cannot be taken; what was chosen before is kept out of the result too.
        m_path.clear();
        m_preview = ImagePreview();
        m_image->setPixmap(QPixmap());
        m_image->setText(LastError());
        m_info->clear();
        m_dither->setEnabled(false);
        m_ok->setEnabled(false);
        return false;
    }
    m_path = path;
    m_preview = std::move(preview);
    // Animations keep their frames: only a still picture is dithered.
    m_dither->setEnabled(m_preview.frameCount == 1);
    ShowPicture();
    const QImage& shown = m_preview.shown;
    QString info = tr("%1 x %2 pixels, shown at %3 x %4")
                       .arg(m_preview.sourceSize.width())
                       .arg(m_preview.sourceSize.height())
                       .arg(shown.width())
                       .arg(shown.height());
    if (m_preview.frameCount > 1) {
        QStringList delays;
        for (int delay : m_preview.delays)
            delays << QString::number(delay);
        info += QLatin1Char('\n') + tr("%1 frames, delays (ms): %2")
                                        .arg(m_preview.frameCount)
                                        .arg(delays.join(QStringLiteral(", ")));
    }
    m_info->setText(info);
    m_ok->setEnabled(true);
    return true;
}
