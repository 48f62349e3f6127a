#include "common/tracefile.h"

#include "db/cp1250.h"

#include <QFile>
#include <stdexcept>

namespace dorvik::common {

void writeTrace(const QString& fileName, const QString& statement) {
    QFile file(fileName);
    const QByteArray bytes = db::toCp1250(statement);
    // Written over in place and then cut to length: on ext4 a file truncated to nothing is
    // flushed to disk when it closes, which made each write-off call wait for the disk.
    if (!file.open(QIODevice::ReadWrite) || file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush())
        throw std::runtime_error(QStringLiteral("Cannot write file \"%1\": %2")
                                     .arg(fileName, file.errorString())
                                     .toStdString());
}

void writeTrace(const QString& fileName, const QStringList& batch) {
    writeTrace(fileName, batch.join(QStringLiteral("\r\n")));
}

} // namespace dorvik::common
