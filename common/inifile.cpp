#include "common/inifile.h"

#include "db/cp1250.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <limits>
#include <optional>

namespace dorvik::common {
namespace {

enum class Encoding { Utf8, Utf8Bom, Cp1250 };

struct Content {
    QStringList lines;
    Encoding encoding = Encoding::Utf8;
    QString lineBreak = QStringLiteral("\r\n");
};

const QByteArray utf8Bom("\xEF\xBB\xBF");

// Empty when the file is missing or cannot be read.
std::optional<Content> load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    Content content;
    QString text;
    if (bytes.startsWith(utf8Bom)) {
        content.encoding = Encoding::Utf8Bom;
        text = QString::fromUtf8(bytes.mid(utf8Bom.size()));
    } else {
        // Stateless, so a cut sequence at the very end counts as an error too.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError()) {
            content.encoding = Encoding::Cp1250;
            text = db::fromCp1250(bytes);
        }
    }
    if (text.contains(QStringLiteral("\r\n")))
        content.lineBreak = QStringLiteral("\r\n");
    else if (text.contains(u'\n'))
        content.lineBreak = QStringLiteral("\n");
    content.lines = text.split(u'\n');
    if (!content.lines.isEmpty() && content.lines.back().isEmpty()) content.lines.removeLast();
    for (QString& line : content.lines)
        if (line.endsWith(u'\r')) line.chop(1);
    return content;
}

std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

struct Entry {
    QString key;
    QString value;
};

std::optional<Entry> entryOf(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || sectionOf(line)) return std::nullopt;
    Entry entry{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
    const QString& v = entry.value;
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == u'"' || v.front() == u'\''))
        entry.value = v.mid(1, v.size() - 2);
    return entry;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Location {
    qsizetype section = -1;   // the section's header line
    qsizetype key = -1;       // the key's line
    qsizetype lastEntry = -1; // the section's last key line
    QString value;
};

// Only the first section of that name counts, and within it the first line of the key.
Location locate(const QStringList& lines, const QString& section, const QString& key) {
    Location at;
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i])) {
            if (inside) break;
            inside = sameName(*name, section);
            if (inside) at.section = i;
            continue;
        }
        if (!inside) continue;
        const auto entry = entryOf(lines[i]);
        if (!entry) continue;
        at.lastEntry = i;
        if (at.key < 0 && sameName(entry->key, key)) {
            at.key = i;
            at.value = entry->value;
        }
    }
    return at;
}

std::optional<QString> valueOf(const QString& path, const QString& section, const QString& key) {
    const auto content = load(path);
    if (!content) return std::nullopt;
    const Location at = locate(content->lines, section, key);
    if (at.key < 0) return std::nullopt;
    return at.value;
}

std::optional<int> parseInteger(const QString& text) {
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+')) ++i;
    if (i == text.size()) return std::nullopt;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max()) return std::nullopt;
    return int(v);
}

} // namespace

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return valueOf(path_, section, key).value_or(defaultValue);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const auto text = valueOf(path_, section, key);
    if (!text) return defaultValue;
    return parseInteger(*text).value_or(defaultValue);
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    std::optional<Content> content = load(path_);
    // A file that is there but cannot be read must not be replaced by one holding only this key.
    if (!content && QFile::exists(path_)) return false;
    if (!content) content.emplace();

    QStringList& lines = content->lines;
    const Location at = locate(lines, section, key);
    const QString line = key + u'=' + value;
    if (at.key >= 0)
        lines[at.key] = line;
    else if (at.section >= 0)
        lines.insert((at.lastEntry >= 0 ? at.lastEntry : at.section) + 1, line);
    else
        lines << u'[' + section + u']' << line;

    const QString text = lines.join(content->lineBreak) + content->lineBreak;
    QByteArray bytes;
    switch (content->encoding) {
    case Encoding::Cp1250: bytes = db::toCp1250(text); break;
    case Encoding::Utf8Bom: bytes = utf8Bom + text.toUtf8(); break;
    case Encoding::Utf8: bytes = text.toUtf8(); break;
    }
    QSaveFile file(path_);
    // Replacing through a temporary file needs a writable folder; a writable file is enough.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

} // namespace dorvik::common
