// The book (.jsk) and message (.txk) files an engine file names stand
// beside it: an engine file written elsewhere (a tuned copy) loads only when
// they are brought along.
#pragma once

#include <string>
#include <vector>

namespace nusari {

struct CompanionCopy {
    std::string from;
    std::string to;
};

// Plans the copies that let an engine file written at `outPath` find the
// companions of stem `zyouseki` that stand beside `aikPath`. A file of the
// same name already beside `outPath` is fine when it holds the same bytes;
// one that differs would be used in their place, so it is refused (false
// with `error`), as is a book missing beside `aikPath`.
bool PlanCompanionCopies(const std::string& aikPath, const std::string& zyouseki,
                         const std::string& outPath, std::vector<CompanionCopy>& copies,
                         std::string& error);

// Makes the planned copies; false with `error` at the first that fails.
bool CopyCompanions(const std::vector<CompanionCopy>& copies, std::string& error);

// False with `error` when no file can be written in the folder of `path`
// (missing, no folder, no permission).
bool CheckFolderWritable(const std::string& path, std::string& error);

}  // namespace nusari
