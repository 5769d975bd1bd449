#pragma once
// File steps of database maintenance: finding the program's files whatever the
// case of their names, and replacing a file so that its name always holds either
// the old or the new content (written to a temporary file, synced, renamed).

#include <QString>

namespace roadtally {

// The file in folder whose name equals name without regard to case; the exact
// form is preferred when several differ only in case. "" when there is none.
QString findFileNoCase(const QString &folder, const QString &name);

// The path to use for name in folder: the existing file of that name in any
// case, else the name in its given form.
QString filePathNoCase(const QString &folder, const QString &name);

// Writes the data of a file to disk (fsync). Returns "" or the reason.
QString syncFile(const QString &path);

// Makes the renames and removals in a folder durable. Returns "" or the reason.
QString syncFolder(const QString &folder);

// Renames from over to in one step: to names the old file until the rename and
// the new one after it; never no file. Returns "" or the reason.
QString replaceFile(const QString &from, const QString &to);

// Copies source to target, which must not exist, and syncs target. A failed
// copy removes what it wrote. Returns "" or the reason.
QString copyFileSynced(const QString &source, const QString &target);

// Removes a file if it exists; "" or the reason it could not be removed.
QString removeIfExists(const QString &path);

// A name in folder, made from stem and suffix, that no file has yet:
// stem + suffix, else stem + "-2" + suffix, and so on.
QString unusedName(const QString &folder, const QString &stem, const QString &suffix);

} // namespace roadtally
