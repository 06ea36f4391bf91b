// oplix-tool pak new|list|get|put|rm: looking into and mending archives member by member.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ToolCommands.h"
#include "ToolFiles.h"
#include "storage/Bytes.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"

namespace oplix::tool {
namespace {

constexpr const char* kCommand = "pak";

int Fail(const std::string& archive, const std::string& message) {
    return ReportFailure("pak", archive, message);
}

int Usage() {
    std::fputs(
        "usage: oplix-tool pak new ARCHIVE\n"
        "       oplix-tool pak list ARCHIVE\n"
        "       oplix-tool pak get ARCHIVE MEMBER\n"
        "       oplix-tool pak put ARCHIVE MEMBER FILE\n"
        "       oplix-tool pak rm ARCHIVE MEMBER\n",
        stderr);
    return kUsageError;
}

// Opens an existing archive; prints why when it cannot.
bool OpenExisting(const std::string& path, TVfsPAK& archive) {
    Result<bool> opened = archive.Open(path, PakOpenMode::Read);
    if (!opened) {
        Fail(path, opened.error().message);
        return false;
    }
    if (!*opened) {
        Fail(path, "not a PACK archive");
        return false;
    }
    return true;
}

int New(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return Fail(path, "the file already exists");
    }
    TVfsPAK archive;
    Result<bool> created = archive.Open(path, PakOpenMode::Create);
    return created ? kSuccess : Fail(path, created.error().message);
}

int List(const std::string& path) {
    TVfsPAK archive;
    if (!OpenExisting(path, archive)) {
        return kFailure;
    }
    for (const std::string& name : archive.Names()) {
        std::printf("%s\n", name.c_str());
    }
    return std::fflush(stdout) == 0 ? kSuccess : Fail(path, "cannot write the output");
}

int Get(const std::string& path, const std::string& member) {
    TVfsPAK archive;
    if (!OpenExisting(path, archive)) {
        return kFailure;
    }
    Result<std::optional<Bytes>> bytes = GetMember(member, archive);
    if (!bytes) {
        return Fail(path, member + ": " + bytes.error().message);
    }
    if (!bytes->has_value()) {
        return Fail(path, "no member " + member);
    }
    return WriteToStandardOutput(kCommand, **bytes) ? kSuccess : kFailure;
}

int Put(const std::string& path, const std::string& member, const std::string& file) {
    Bytes bytes;
    if (!ReadInputFile(kCommand, file, bytes)) {
        return kFailure;
    }
    TVfsPAK archive;
    if (!OpenExisting(path, archive)) {
        return kFailure;
    }
    Status put = PutMember(member, bytes, archive);
    return put ? kSuccess : Fail(path, member + ": " + put.error().message);
}

int Remove(const std::string& path, const std::string& member) {
    TVfsPAK archive;
    if (!OpenExisting(path, archive)) {
        return kFailure;
    }
    if (!MemberExists(member, archive)) {
        return Fail(path, "no member " + member);
    }
    Status removed = RemoveMember(member, archive);
    return removed ? kSuccess : Fail(path, member + ": " + removed.error().message);
}

}  // namespace

int RunPak(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return Usage();
    }
    const std::string& verb = args[0];
    const std::string& archive = args[1];
    if (verb == "new" && args.size() == 2) {
        return New(archive);
    }
    if (verb == "list" && args.size() == 2) {
        return List(archive);
    }
    if (verb == "get" && args.size() == 3) {
        return Get(archive, args[2]);
    }
    if (verb == "put" && args.size() == 4) {
        return Put(archive, args[2], args[3]);
    }
    if (verb == "rm" && args.size() == 3) {
        return Remove(archive, args[2]);
    }
    return Usage();
}

}  // namespace oplix::tool
