#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps its files. A program run from a folder it may
// write keeps settings.ini, settings2.ini and temp.html beside the
// executable, and a working folder that holds nodes.txt is used as it is.
// An installed program meets the two cases where that cannot work: its
// folder (/usr/bin) takes no files, and a desktop launcher starts it in the
// home folder, where no nodes.txt lies. Then the per-user folders take over.
struct FileLocationInput
{
    QString executableDir;
    QString currentDir;
    QString configDir; // per-user configuration folder (~/.config/marvix-terminal)
    QString dataDir;   // per-user data folder (~/.local/share/marvix-terminal)
    // Where an installation prefix keeps the default files, seen from
    // executableDir (/usr/bin -> /usr/share/marvix-terminal).
    QString installedDefaultsDir;
};

struct FileLocations
{
    QString programDir; // settings.ini, settings2.ini, temp.html
    QString workDir;    // nodes.txt, dx.wav
    bool perUserConfig = false; // programDir is the per-user configuration folder
    bool perUserData = false;   // workDir is the per-user data folder
};

// True when a new file can be made in dir (it is made and removed again).
// This asks the file system rather than the permission bits, so a read-only
// mount, or a folder of another owner, counts as it really behaves.
bool folderAcceptsNewFiles(const QString& dir);

// True for an executable that lies in an installation prefix: its folder is
// a "bin" with the prefix's share/marvix-terminal beside it (/usr/bin,
// ~/.local/bin after cmake --install). Such a folder belongs to the
// installation, not to the program, even where the file system would take
// files (root may write into /usr/bin).
bool isInstalledExecutable(const QString& executableDir, const QString& installedDefaultsDir);

// Decides the two folders once, at start. Reads the file system, writes
// nothing that stays.
FileLocations decideFileLocations(const FileLocationInput& input);

// Makes the per-user folders that the decision chose and gives the data
// folder its own copy of each default file it lacks (nodes.txt, dx.wav),
// taken from defaultsDir, so that the user edits their copy. A file already
// there is never replaced. False when a folder or a copy could not be made;
// the program then goes on, and the missing file is met as the program
// meets any missing file.
bool prepareFileLocations(const FileLocations& locations, const QString& defaultsDir);

// The folder of the installed default files: the first of candidates that
// holds nodes.txt, or an empty text when none does.
QString findDefaultsDir(const QStringList& candidates);

// What the info window says about the per-user folders the decision chose,
// one paragraph each; nothing for a program in a folder of its own, run
// where its nodes.txt is.
QStringList describeFileLocations(const FileLocations& locations);
