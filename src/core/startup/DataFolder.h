#pragma once

#include <QString>

namespace quilloa {

// The folder that holds 数据库 and 数据库备份 for this run, and why it was chosen, so the
// About window and --help can tell the user where the data is.
struct DataFolder
{
    enum class Source
    {
        Explicit,      // given with --data
        ProgramFolder, // beside the program, as a copied installation keeps it
        UserFolder     // the user's data folder, for an installed program
    };

    QString path;
    Source source = Source::ProgramFolder;

    // One line of Chinese for the About window and --help.
    QString description() const;
};

} // namespace quilloa
