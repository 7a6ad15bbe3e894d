// SPDX-License-Identifier: MIT
#include "ui/versiondialog.h"

#include "core/deployment.h"
#include "ui/fitcaptions.h"
#include "ui/linewidget.h"
#include "ui/picturebutton.h"
#include "ui/pictures.h"
#include "ui/returnpress.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace glimra {

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect place)
{
    auto *label = placed(new QLabel(text, parent), name, place);
    return label;
}

// The author's and the supplier's names belong to the deployment and may run longer than
// the design allowed for: such a label grows to the right rather than cut the name off.
QLabel *deploymentLabel(QWidget *parent, const char *name, const QString &text, QRect place)
{
    QLabel *shown = label(parent, name, text, place);
    const int needed = shown->fontMetrics().horizontalAdvance(text);
    shown->resize(qBound(place.width(), needed, parent->width() - place.x()), place.height());
    return shown;
}

QLineEdit *fixedText(QWidget *parent, const char *name, const QString &text, QRect place)
{
    auto *field = placed(new QLineEdit(text, parent), name, place);
    field->setReadOnly(true);
    field->setCursorPosition(0);
    return field;
}

} // namespace

VersionDialog::VersionDialog()
{
    setObjectName("version");
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(4980), px(3210));
    // The designed label widths hold their texts at 11 pixels, not at the desktop's 12.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    auto *icon = label(this, "icon", QString(), twipsRect(240, 120, 480, 480));
    icon->setPixmap(picture(Picture::Program));

    label(this, "Label1", QStringLiteral("Glimra絵エディッタ　Ver2.0"),
          twipsRect(1080, 480, 2775, 255));
    (new LineWidget(120, 720, 4800, 720, this))->setObjectName("Line1");
    deploymentLabel(this, "Label2",
                    QStringLiteral("作者：　　 ") + QString::fromUtf16(deployment::Author),
                    twipsRect(240, 840, 3975, 255));
    // Each text field is named by the label it stands by, as a screen reader reads it.
    label(this, "Label4", QStringLiteral("メール："), twipsRect(240, 1080, 735, 255))
        ->setBuddy(fixedText(this, "Text2", QString::fromUtf16(deployment::AuthorMail),
                             twipsRect(1920, 1080, 2775, 255)));
    label(this, "Label9", QStringLiteral("ソフトの種類：　　　　   フリーウェア"),
          twipsRect(240, 1320, 3015, 255));
    label(this, "Label8", QStringLiteral("作者ホームページ：　  無し"),
          twipsRect(240, 1560, 3975, 255));
    label(this, "Label3", QStringLiteral("このソフトウェアに対する感想・ご要望は"),
          twipsRect(240, 1920, 3135, 255));
    label(this, "Label5", QStringLiteral("メールでお願いします。"),
          twipsRect(2160, 2160, 2535, 255));
    (new LineWidget(120, 2520, 4800, 2520, this))->setObjectName("Line2");
    deploymentLabel(this, "Label6",
                    QStringLiteral("サンプルデータ提供：") +
                        QString::fromUtf16(deployment::SampleDataSupplier),
                    twipsRect(120, 2640, 3495, 255))
        ->setBuddy(fixedText(this, "Text1", QString::fromUtf16(deployment::SampleDataAddress),
                             twipsRect(120, 2880, 3735, 270)));

    auto *close = placed(new QPushButton(QStringLiteral("閉じる"), this), "close_ver",
                         twipsRect(3960, 2880, 855, 255));
    close->setAutoDefault(false);
    pressOnReturn(close);
    fitCaptions({close});
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

} // namespace glimra
