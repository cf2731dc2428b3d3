#pragma once

#include <string>

#include "RixExportVerifier.h"

namespace rix {

// The report of CRixExportVerifier as the command-line tool prints it and
// the editor shows it: one line per channel, the mix, each oscillator's
// pitch error and what the tables leave out, then the verdict. `song`
// names the song in the first line. Lines end with '\n'.
std::string ExportReportText(const std::string& song, const TRixExportReport& report);

} // namespace rix
