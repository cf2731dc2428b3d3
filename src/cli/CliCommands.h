#pragma once

#include <string>
#include <vector>

// The sub-commands of sonrix3-cli. Each gets the arguments after its name
// and returns the process exit status: 0 done, 1 failed (one line on
// standard error naming the file and the reason), 2 wrong usage.
namespace cli {

int RunDump(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunExportCpp(const std::vector<std::string>& args);
int RunPlay(const std::vector<std::string>& args);
int RunVerifyExport(const std::vector<std::string>& args);
int RunSync(const std::vector<std::string>& args);
// "render --stems", given the arguments after the option.
int RunRenderStems(const std::vector<std::string>& args);
// "render --as-exported" and "export-cpp --size", given the arguments after the option.
int RunRenderAsExported(const std::vector<std::string>& args);
int RunExportSize(const std::vector<std::string>& args);

// Removes the first `option` from args; true when it was there.
bool TakeOption(std::vector<std::string>& args, const std::string& option);

// Prints the usage to standard error and returns 2.
int UsageError(const std::string& problem);

} // namespace cli
