#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct JobSchedule;

// A job's schedule as a pair of systemd user units: a .service that runs the job file once
// without a window, and a .timer of the same name that starts it.

// text escaped by systemd's rules for unit names: "/" becomes "-", and every byte of the UTF-8
// text outside [A-Za-z0-9_.], and a leading ".", becomes "\xNN".
[[nodiscard]] QString systemdEscape(const QString& text);

// "runlatch-" and the job file's name, without a final ".ini" unless nothing would remain,
// escaped. Raises RunlatchError when a unit of that name would be longer than systemd allows.
[[nodiscard]] QString systemdUnitStem(const QString& jobFilePath);

// One word of a command line in double quotes, so that systemd passes it on exactly as given.
[[nodiscard]] QString systemdCommandWord(const QString& word);

// A period of whole minutes as a time span systemd reads: "2h 30min".
[[nodiscard]] QString systemdTimeSpan(std::int64_t minutes);

// The .service: runs programPath --run jobFilePath in the job file's folder, where the job's log
// is. Both paths are absolute.
[[nodiscard]] QByteArray systemdService(const QString& jobFilePath, const QString& programPath);

// The .timer that starts the service of the same name on the job's schedule.
[[nodiscard]] QByteArray systemdTimer(const QString& jobFilePath, const JobSchedule& schedule);
