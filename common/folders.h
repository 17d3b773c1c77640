// The user's documents folder and folder creation with missing parents.
#pragma once

namespace link14 {

// Bytes of the buffers the folder lookups fill, terminator included.
const int kFolderPathBytes = 260;

// Asks the shell for folder `folderId` into `buffer` (kFolderPathBytes). The
// shell library is bound afresh on every call. When the current path is not
// to be had and `allowCreate` is not 0, asks again for the default path with
// creation allowed. 1 when `buffer` then holds a non-empty path, else 0.
int LookupShellFolder(char* buffer, int folderId, int allowCreate);

// LookupShellFolder for the user's documents folder, creation allowed.
int LookupDocumentsFolder(char* buffer);

// 1 when the one folder `path` was created; 0 otherwise, also when it exists.
int MakeDirectory(const char* path);

// Creates `path` (one trailing backslash allowed) and its missing parents,
// the outermost first. 1 when the last folder was created; 0 when it already
// existed, a parent is not a folder, or a creation failed.
int MakeDirectoryTree(const char* path);

}  // namespace link14
