// A picture box to assistive technology, as the core describes it
// (accessibletree.h): a box given words for being shown and hidden is a
// picture that tells which it is (a lamp lit or dark), found while its
// group has it speak; one without is a pane that holds its controls.
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

private:
    bool hasWords() const;
};

} // namespace runtime::qt
