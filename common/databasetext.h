#pragma once

class QLineEdit;

namespace dorvik::common {

class MessageBox;

// Keeps a field whose text goes into the database to the characters the database's
// character set (cp1250) holds: a typed or pasted text with others (Chinese, Cyrillic,
// emoji) is refused, the field keeps what it had, and the window's box names them.
// The box must outlive the field.
void keepToDatabaseCharacters(QLineEdit* field, const MessageBox& box);

} // namespace dorvik::common
