// A picture box to assistive technology. A box given words for being shown
// and hidden is a picture that tells which it is (a lamp lit or dark); one
// without is a pane that holds its controls. Boxes of one container that
// share a name are one thing on one spot: the front-most shown box speaks
// for them, or, with none shown, the one that has a word for hidden.
#pragma once

#include <QAccessibleWidget>

namespace runtime::qt {

class PictureBox;

class AccessiblePictureBox : public QAccessibleWidget
{
public:
    explicit AccessiblePictureBox(PictureBox *box);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    // The boxes that share the box's name in its container, front-most
    // first; the box alone when it has no name.
    static QList<QWidget *> group(QWidget *box);
    static bool speaks(QWidget *box);

private:
    bool hasWords() const;
};

} // namespace runtime::qt
