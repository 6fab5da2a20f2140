// The unattended run ("pairwell -force", for schedulers): synchronises the remembered first
// folder's pair as its folder-list entry holds it, without any window, and appends one report
// to the run log. It reads the settings and never writes them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "StartUp.h"

// The exit code: 0 when the run logged no error; 1 when it did, when there was no pair to
// synchronise, when another unattended run of the same settings was active (nothing is done
// then), or when the report could not be written. What went wrong is also said on stderr.
int RunUnattended(const TPairwellFiles& files);

// The report's first line: "Start synchronizing - " and the local date and time as the user's
// locale writes them, short date and long time, without a time zone.
QString ReportHeader(const QDateTime& now);
