#pragma once

#include "logstore/bands.h"

#include <QString>
#include <QStringList>

namespace tv {

class FileSystem;

// The names of a station's files, built in one place from the program directory, the stored
// callsign ("_" where the callsign has "/") and a suffix.
//
// A stored callsign becomes part of file names, so only the stored form of the callsign rule
// (callsign_rule.h: capitals, digits and "_", 12 at most) is accepted: nothing that could
// leave the program directory ("..", "/", "\", ":"), that a file name cannot hold, or that
// names the same file as another callsign on a system that ignores case.
class StationPaths {
public:
    StationPaths(QString programDir, QString storedCallsign);

    static bool isSafeCallsign(const QString& storedCallsign);
    bool isValid() const { return isSafeCallsign(m_callsign); }

    const QString& directory() const { return m_dir; }
    const QString& callsign() const { return m_callsign; }

    // A file of the program directory.
    QString file(const QString& name) const;
    // The name of a file without its folder, as the operator's messages give it.
    static QString fileName(const QString& path);
    // The station's file: callsign + suffix.
    QString stationFile(const QString& suffix) const;

    QString log() const { return stationFile(QStringLiteral(".log")); }
    // The log as it stands on disk: "CALL.log", or a file whose name differs only in case
    // ("CALL.Log" written by other tools), since both name the same log.
    QString existingLog(const FileSystem& files) const;

    QString departments(bands::Mode mode) const;
    QString prefixes(bands::Mode mode) const;
    QString absentList() const { return stationFile(QStringLiteral("_Absent.txt")); }
    // Present only while the multiplier files are being rebuilt: written before the first of
    // them and removed after the last, so that a rebuild stopped half way is found and redone.
    QString rebuildMarker() const { return stationFile(QStringLiteral("_Reconstruction.txt")); }

    // The station's five files, in this order: the log, the department files SSB and CW, the
    // prefix files SSB and CW.
    QStringList fileSet() const;
    // The copies of those five files under another extension, in the same order: CALL + ext,
    // CALL_Departement_SSB + ext, ... For the session archives (".hf_", ".vhf"), the backups
    // (".bak") and the numbered copies kept beside them (".hf_1", ".raz2").
    QStringList copySet(const QString& extension) const;

    // Shared files and templates.
    QString logTemplate() const { return file(QStringLiteral("FXXXX.log")); }
    QString departmentTemplate() const { return file(QStringLiteral("FXXXX_Departement.txt")); }
    QString prefixTemplate() const { return file(QStringLiteral("FXXXX_Prefixe.txt")); }
    QString nomenclature() const { return file(QStringLiteral("Nomenclature.txt")); }
    QString firstNames() const { return file(QStringLiteral("Liste_Prenom.txt")); }

private:
    QString m_dir;
    QString m_callsign;
};

} // namespace tv
