// SPDX-License-Identifier: MIT
#pragma once

#include "core/newchoice.h"

#include <QDialog>

class QRadioButton;

namespace glimra {

/// Chooses between a new glyph and a new file. Modeless, and discarded when closed.
class NewDataDialog : public QDialog
{
    Q_OBJECT
public:
    NewDataDialog();

    NewChoice choice() const;

signals:
    /// OK was clicked; the dialog stays open until someone closes it.
    void confirmed(glimra::NewChoice choice);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *m_newdata;
    QRadioButton *m_newfile;
};

} // namespace glimra
