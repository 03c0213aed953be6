// The one door through which the toolkit touches files: read-only access by
// path, in the toolkit's own path form (backslash separators, names as the
// disc writes them). Local files go to the platform's backend
// (pcd_local_file.h); a path that runs into a disc image file
// ("D:\discs\trip.cue\PHOTO_CD\INFO.PCD") reads from inside the image
// (disc_image.h).
#pragma once
#include <chrono>
#include <cstdint>
#include <vector>

#include "pcd_local_file.h"
#include "pcd_status.h"

struct PcdFile;  // an open file; owned by whoever opened it until PcdFileClose

// Opens an existing file read-only, sharing it with every other reader and
// writer. 3010 when it cannot be opened, 3016 when memory runs out.
PcdStatus PcdFileOpen(const char* path, PcdFile*& file);

// Reads up to size bytes at the current position; got says how many arrived.
// Long reads go in 32768-byte pieces and stop at the first short piece, so
// got < size means the end of the file. 3007 when the system reports an error.
PcdStatus PcdFileRead(PcdFile* file, void* buffer, std::uint32_t size, std::uint32_t& got);

// Moves to an absolute byte offset. 3009 on failure.
PcdStatus PcdFileSeek(PcdFile* file, std::uint32_t offset);

// Reads size bytes at offset. When the whole read fails (a scratch under one
// sector fails a drive's read of all), reads it again sector by sector:
// sectors that fail are left as zeros and listed in unreadable, by their
// number from offset. got < size means the end of the file. 3009, 3016.
PcdStatus PcdFileReadAround(PcdFile* file, std::uint32_t offset, void* buffer, std::uint32_t size,
                            std::uint32_t& got, std::vector<std::uint32_t>& unreadable);

// How long a file's failed reads may take before PcdFileReadAround stops
// reading again sector by sector and loses the sectors not read yet untried;
// kPcdReadErrorBudget unless set. PcdFileGaveUp tells that it did.
constexpr std::chrono::milliseconds kPcdReadErrorBudget{20000};
void PcdSetReadErrorBudget(std::chrono::milliseconds budget);
bool PcdFileGaveUp(const PcdFile* file);

// True when the file reads through a ddrescue map (rescue_map.h): then only
// the reads that fail are lost, and zeros that read are what the disc holds.
bool PcdFileHasRescueMap(const PcdFile* file);
// The sectors of the file, by number from its start, that its ddrescue map
// does not mark finished; none without a map.
PcdStatus PcdFileUnreadSectors(PcdFile* file, std::vector<std::uint32_t>& sectors);

// Closes the file and frees the handle, whatever the result. 3008 on failure.
PcdStatus PcdFileClose(PcdFile* file);

// True when path names an existing regular file.
bool PcdFileExists(const char* path);

// The file's size in bytes.
PcdStatus PcdFileSize(PcdFile* file, std::uint32_t& size);

// The files and folders of a folder, "." and ".." left out: a local folder,
// a folder inside a disc image, or an image's root when path names the image
// file itself. 3010 when it cannot be read.
PcdStatus PcdListFolder(const char* path, std::vector<PcdFolderEntry>& entries);

// True for a file inside a disc image that runs past the image's end: it
// reads as far as the image holds it and then ends, like a file cut short.
bool PcdFileCutShort(const PcdFile* file);
