// The one way the program writes a file. The content goes to a temporary file
// beside the real target, is flushed to the disk and only then renamed over the
// target, so a failed or cut-short write never leaves half a file behind.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

// Writes the file `cel` with what `pisz` puts into the stream.
// - A symbolic link (also a chain of links, also a relative one) is written
//   through: the link stays and the file it leads to is replaced.
// - A target that exists and is not a regular file (directory, device, named
//   pipe, socket) is refused before anything is opened, and left as it was.
// - The target's permission bits are kept; a new file gets 0666 less the umask.
// - Any failure (the stream failing, no room on the disk, fsync, close or
//   rename failing) raises BladKonwersji with a Polish message naming the file;
//   the old target is then untouched and no temporary file remains. An
//   exception thrown by `pisz` itself is passed on after the same clean-up.
void ZapiszBezpiecznie(const std::string& cel, const std::function<void(std::ostream&)>& pisz);

// The same for content that is ready in memory.
void ZapiszBezpiecznie(const std::string& cel, std::string_view tresc);
// The same for content another program writes by name (a film from ffmpeg):
// `utworz` gets the temporary file's name (an empty file beside the real
// target, with the bits a new file gets) and fills it; the writer then gives
// it the old target's owner and bits, syncs it and renames it over the
// target. An exception from `utworz` (the program failed) leaves the old
// target as it was and no temporary file.
void ZapiszBezpiecznieNazwa(const std::string& cel, const std::function<void(const std::string& tymczasowy)>& utworz);
