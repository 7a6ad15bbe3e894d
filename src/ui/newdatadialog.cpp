// SPDX-License-Identifier: MIT
#include "ui/newdatadialog.h"

#include "ui/fitcaptions.h"
#include "ui/pictures.h"
#include "ui/returnpress.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace glimra {

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect place)
{
    auto *button = placed(new QPushButton(caption, parent), name, place);
    button->setAutoDefault(false);
    pressOnReturn(button);
    return button;
}

QLabel *pictureLabel(QWidget *parent, const char *name, Picture which, QRect place)
{
    auto *label = placed(new QLabel(parent), name, place);
    label->setPixmap(picture(which));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

NewDataDialog::NewDataDialog()
{
    setObjectName("new_data");
    setWindowTitle(QStringLiteral("新規作成"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(4035), px(2070));

    m_newdata = placed(new QRadioButton(QStringLiteral("新規データの作成"), this), "newdata",
                       twipsRect(1080, 480, 2055, 225));
    m_newfile = placed(new QRadioButton(QStringLiteral("新規ファイルの作成"), this), "newfile",
                       twipsRect(1080, 1080, 2295, 255));

    QPushButton *ok =
        button(this, "Command1", QStringLiteral("OK"), twipsRect(480, 1680, 975, 255));
    QPushButton *cancel =
        button(this, "Command2", QStringLiteral("キャンセル"), twipsRect(2280, 1680, 975, 255));
    fitCaptions({ok, cancel});
    QLabel *figure = pictureLabel(this, "Picture1", Picture::Figure, twipsRect(720, 480, 270, 270));
    QLabel *sheet = pictureLabel(this, "Picture2", Picture::New, twipsRect(720, 1080, 270, 270));

    setTabOrder(m_newdata, m_newfile);
    setTabOrder(m_newfile, ok);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, figure);
    setTabOrder(figure, sheet);

    connect(ok, &QPushButton::clicked, this, [this] { emit confirmed(choice()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

NewChoice NewDataDialog::choice() const
{
    if (m_newdata->isChecked())
        return NewChoice::NewData;
    if (m_newfile->isChecked())
        return NewChoice::NewFile;
    return NewChoice::None;
}

void NewDataDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The first option takes the focus when the dialog opens, and an option button that
    // takes the focus is chosen: OK at once starts a new glyph.
    if (choice() == NewChoice::None) {
        m_newdata->setChecked(true);
        m_newdata->setFocus(Qt::TabFocusReason);
    }
}

} // namespace glimra
