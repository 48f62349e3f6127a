#pragma once

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
};

// How often a new document's save is tried when another workstation took its number first.
inline constexpr int SaveAttempts = 5;

// Numbers a new document (highest number of its series above the base, plus one) and
// writes header and lines in one transaction, deleting the imported terminal list there too.
// The series stays locked from reading the highest number to the commit; a batch that still
// fails on a duplicate number is rolled back, numbered afresh and sent again. `numbered` hears
// every number given to the header. Returns the document's number; errors propagate with
// everything of the failed batch rolled back.
qint64 saveDocument(db::Connection& connection, const SaveRequest& request,
                    const std::function<void(qint64)>& numbered = {});

} // namespace dorvik::issue
