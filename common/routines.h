#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace dorvik::common {

// Codes typed or scanned with the wrong keyboard layout become digits: the characters of
// the Czech digit row and of the shifted US digit row map back to their digits, "~" to "°".
// The text is cut to its first 255 characters first.
QString normaliseKeys(const QString& text);

// 2.5 -> 3, -2.5 -> -3, 2.4999 -> 2.
double roundHalfAwayFromZero(double x);
// The product is formed in extended precision and then stored as a double, so a value
// whose product falls just below the half rounds down (1.005 -> 1.0 to 2 places).
double roundTo(qint16 places, double x);

// "yyyy-MM-dd" and "yyyy-MM-dd hh:mm:ss", as the statements expect them.
QString sqlDate(const QDate& date);
QString sqlDateTime(const QDateTime& dateTime);
int yearOf(const QDate& date);
// The refusal of a date in a later year than today's, naming the field; empty when the date
// may stand. A typo in the year would otherwise start a number series that later documents
// of the real year continue.
QString laterYearRefusal(const QString& field, const QDate& date, const QDate& today = QDate::currentDate());

// The folder of the program file (not the current directory), ending with "/".
QString programFolder();

// The first / last n characters; the whole text when it is shorter, empty for n <= 0.
QString leftPart(const QString& text, qsizetype n);
QString rightPart(const QString& text, qsizetype n);
// Field n (from 0) of the text split at the separator; empty when there are too few separators.
QString token(const QString& text, QChar separator, qsizetype n);
// Every occurrence of the character replaced by the text.
QString replaceChar(const QString& text, QChar from, const QString& to);
// Every occurrence of `from`, compared without regard to case, replaced by `to`.
QString replaceIgnoringCase(const QString& text, const QString& from, const QString& to);
// Upper case by the rules of the current locale.
QString upperCase(const QString& text);

// The shortest text of the number with up to 15 significant digits and a decimal comma,
// no thousands separator (8, 2,5, -1234,5); beyond 15 integer digits or below 0,00001 the
// exponent form 1E15, 1,5E-7.
QString generalDecimal(double x);

// A number typed with the decimal comma (a point is taken as well); empty is 0. Anything
// else, "nan" and "inf" included, raises std::invalid_argument.
double parseNumber(const QString& text);

// Asks the system to open the file with its associated program; false when nothing could.
bool openDocument(const QString& path);
// Runs a program; without waiting it is detached. Returns whether it could be started.
// There is no hidden mode: whether a window shows is the program's own business here.
bool startProgram(const QString& program, const QStringList& arguments, bool wait);

} // namespace dorvik::common
