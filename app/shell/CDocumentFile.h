// The container of a .vla analysis document: the header and one section frame per page slot,
// the format versions, and the slot order of each version. The pages' own section bodies are
// written and read by the pages; this file only frames them.
#ifndef VELA_APP_SHELL_CDOCUMENTFILE_H
#define VELA_APP_SHELL_CDOCUMENTFILE_H

class CMatrixArchive;

/// What the document asks of the main view, slot by slot (slots 0..7 as the view numbers its
/// pages).
class CDocumentSlots
{
public:
    virtual ~CDocumentSlots() = default;
    /// Slot of the page on display, written at the head of the file.
    virtual int DisplayedSlot() const = 0;
    virtual bool HasPage(int slot) const = 0;
    /// Writes the page's section body (its SerializeSection while storing).
    virtual void SaveSlot(int slot, CMatrixArchive &ar, int version) = 0;
    /// Reading: the file records the slot as empty.
    virtual void RestoreAbsent(int slot) = 0;
    /// Reading: the file holds a section for the slot; the page is built afresh and reads it.
    /// @param displayed true for the slot the file names as the page on display.
    virtual void RestorePresent(int slot, CMatrixArchive &ar, int version, bool displayed) = 0;
};

/// The file layout: int32 displayed slot, then one frame per slot: counted-string marker
/// ("01Section" for the first frame of the current version, "Section" otherwise), int32 slot
/// index, int32 presence flag (1 or 0) and, when 1, the page's section body.
/// Version 0 files have seven frames and no slot 4: their frames 4, 5 and 6 hold slots 5, 6
/// and 7; their first marker is "Section" without digits.
class CDocumentFile
{
public:
    static constexpr int CurrentVersion = 1;
    static constexpr int SlotCount = 8;

    enum class ReadStatus {
        Read, ///< every frame was read
        NewerVersion, ///< the file's version is above CurrentVersion: nothing was restored
    };
    struct ReadResult
    {
        ReadStatus status = ReadStatus::Read;
        int version = CurrentVersion; ///< the version the file was written in
        int displayedSlot = -1;
    };

    /// Writes the whole document in the current version.
    static void Write(CMatrixArchive &ar, CDocumentSlots &pages);
    /// Reads a document frame by frame, handing every frame to `pages` as it comes. Zero bytes
    /// before a marker are skipped. Throws CArchiveException on a file that ends early or holds
    /// something else than frames (a marker that is not a section marker, a presence flag
    /// other than 0 or 1): the slots restored so far stay restored.
    static ReadResult Read(CMatrixArchive &ar, CDocumentSlots &pages);
    /// The slot held by a frame of a version (the frame itself, shifted past slot 4 in
    /// version 0).
    static int SlotOfFrame(int frame, int version);
    /// Number of frames of a version.
    static int FrameCount(int version) { return version == 0 ? 7 : SlotCount; }
};

#endif // VELA_APP_SHELL_CDOCUMENTFILE_H
