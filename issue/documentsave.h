#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace dorvik::db {
class Connection;
}

namespace dorvik::issue {

// What "Uložit" writes: the scratch header tmp<PC>dl (its one row already posted) and the
// scratch lines tmp<PC>dlrad.
struct SaveRequest {
    QString workstation;
    QString costCentre;
    QChar documentMode = u'N'; // 'N' new, 'O' correction
    qint64 documentNumber = 0;  // the corrected document's number
    bool internal = false;
    QString terminalKey;        // the imported terminal list, empty when none
    QByteArray copied;          // a correction: copiedDocumentStamp taken when the editor copied it
};

struct SaveResult {
    qint64 number = 0;
    // The connection dropped at the commit; the stored document showed the save went through.
    bool answerLost = false;
};

// How often a save is tried when another workstation took its number first, or when the
// server rolled it back to end a deadlock with another workstation's save.
inline constexpr int SaveAttempts = 5;

// The stamp of the document as the editor's scratch tables hold it, taken right after they
// were copied from the stored document; a correction's save compares it with the stored one.
QByteArray copiedDocumentStamp(db::Connection& connection, const QString& workstation);

// Numbers a new document (highest number of its series above the base, plus one) and
// writes header and lines in one transaction, deleting the imported terminal list there too.
// The series stays locked from reading the highest number to the commit; a batch that still
// fails on a duplicate number is rolled back, numbered afresh and sent again; one ended by a
// deadlock is sent again as it is. `numbered` hears
// every number given to the header.
//
// A correction first reads the stored document with a lock inside the transaction: if it is
// no longer what the editor copied, nothing is written and db::ChangedMeanwhile is raised.
// When the connection drops at the commit, the stored document tells whether it went
// through: if not, db::NotStored (nothing written, the save may be repeated). Other errors
// propagate with everything of the failed batch rolled back.
SaveResult saveDocument(db::Connection& connection, const SaveRequest& request,
                        const std::function<void(qint64)>& numbered = {});

} // namespace dorvik::issue
