#pragma once
// Binds a label (or line edit, or combo box text) to a field of a bound data
// source: the control shows the field of the source's current row and follows it
// when it moves. Binding a control again replaces its binding; a null source or
// an empty field name unbinds it. Line edits and combo boxes hand what the user
// types to the source, which writes it on update() or before its next move.

#include "core/store/BoundDataSource.h"

#include <QString>

class QLabel;
class QLineEdit;
class QComboBox;

namespace roadtally {

void bindLabel(QLabel *label, BoundDataSource *source, const QString &field);
void bindLineEdit(QLineEdit *edit, BoundDataSource *source, const QString &field);
// A combo box's edit text shows the field.
void bindComboText(QComboBox *combo, BoundDataSource *source, const QString &field);

} // namespace roadtally
