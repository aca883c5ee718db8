#include "app/shell/CDocumentFile.h"

#include "matrix/CMatrixArchive.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

const std::string SectionMarker = "Section";

} // namespace

void CDocumentFile::Write(CMatrixArchive &ar, CDocumentSlots &pages)
{
    ar.WriteInt32(pages.DisplayedSlot());
    for (int slot = 0; slot < SlotCount; ++slot) {
        std::string marker = SectionMarker;
        if (slot == 0)
            marker = std::to_string(CurrentVersion / 10) + std::to_string(CurrentVersion % 10)
                + SectionMarker;
        ar.WriteCountedString(marker);
        ar.WriteInt32(slot);
        const bool present = pages.HasPage(slot);
        ar.WriteInt32(present ? 1 : 0);
        if (present)
            pages.SaveSlot(slot, ar, CurrentVersion);
    }
}

CDocumentFile::ReadResult CDocumentFile::Read(CMatrixArchive &ar, CDocumentSlots &pages)
{
    ReadResult result;
    result.displayedSlot = ar.ReadInt32();
    int version = CurrentVersion;
    for (int frame = 0; frame < FrameCount(version); ++frame) {
        while (ar.PeekByte() == 0)
            ar.ReadByte();
        std::string marker = ar.ReadCountedString();
        ar.ReadInt32(); // the slot index, implied by the frame's place
        if (frame == 0) {
            if (!marker.empty() && marker[0] == 'S') {
                version = 0;
            } else {
                if (marker.size() < 2 || !std::isdigit(static_cast<unsigned char>(marker[0]))
                    || !std::isdigit(static_cast<unsigned char>(marker[1])))
                    CMatrixArchive::ThrowBadClass();
                version = (marker[0] - '0') * 10 + (marker[1] - '0');
                marker.erase(0, 2);
            }
            result.version = version;
            if (version > CurrentVersion) {
                result.status = ReadStatus::NewerVersion;
                return result;
            }
        } else if (!marker.empty() && marker[0] == '0') {
            marker.erase(0, std::min<std::size_t>(2, marker.size()));
        }
        // A frame whose marker is not a section marker means the bytes before it were not
        // what their page expected: reading on would hand garbage to the next page.
        if (marker != SectionMarker)
            CMatrixArchive::ThrowBadClass();
        const std::int32_t present = ar.ReadInt32();
        if (present != 0 && present != 1)
            CMatrixArchive::ThrowBadClass();
        const int slot = SlotOfFrame(frame, version);
        if (present == 1)
            pages.RestorePresent(slot, ar, version, slot == result.displayedSlot);
        else
            pages.RestoreAbsent(slot);
    }
    return result;
}

int CDocumentFile::SlotOfFrame(int frame, int version)
{
    return version == 0 && frame > 3 ? frame + 1 : frame;
}
