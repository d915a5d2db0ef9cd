#include "logevidence.h"

#include "casetally.h"
#include "evidencebuilder.h"

#include <QCryptographicHash>
#include <QThread>

#include <memory>

LogEvidence gatherLogEvidence(const QByteArray &bytes)
{
    LogEvidence evidence;
    // The hash of a large log costs about as much as reading it, and needs
    // nothing of the reading: it runs on another core meanwhile.
    const std::unique_ptr<QThread> hashing(QThread::create([&bytes, &evidence] {
        evidence.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }));
    hashing->start();

    CaseTally tally;
    CaseLogReader reader([&tally](const LogCase &logCase) { tally.add(logCase); });
    evidence.reading = reader.read(bytes);
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14})
        evidence.sheaths.append(buildSheathEvidence(sheath, tally.tally(sheath)));

    hashing->wait();
    return evidence;
}
