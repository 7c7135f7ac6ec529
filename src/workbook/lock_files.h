// Another program holding the workbook. LibreOffice and Excel leave a lock file beside a workbook
// they have open; their next save of it would replace the whole file, and with it whatever
// MEDRAVOLIX wrote in the meantime. Before writing, the program looks for such a lock file and
// asks the user whether to go on.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace medravolix::workbook {

// The lock file that LibreOffice (".~lock.NAME#") or Excel ("~$NAME", or for a long name "~$"
// followed by NAME without its first two characters) left beside the workbook, or nothing.
// Looks beside the path as given and, when it is a symbolic link, beside the file it leads to.
std::optional<std::filesystem::path> lockFileOfAnotherProgram(
    const std::filesystem::path& workbook);

// The Yes/No question shown when such a lock file stands beside the workbook. `about_to_write`
// says what MEDRAVOLIX is about to write and save (e.g. "the results of this batch").
std::string lockFileQuestion(const std::filesystem::path& workbook,
                             const std::filesystem::path& lock_file,
                             std::string_view about_to_write);

}  // namespace medravolix::workbook
