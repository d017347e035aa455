// The web half of readRegularFile (filereader.h). A page has no files, only
// what it fetches from its own site: the page hands each file over whole
// (velk_fetched), and it is kept here by the address it was asked for, for
// the page's life, so that a file asked for again is not fetched again.
// What the page could not fetch is kept as why, by the server's answer:
// not found, not allowed, a server's failure, or no answer at all; or by
// why the page did not ask: another site's file, a folder, an empty name
// or one no file can have. The bound, the chunked reading and the rest of
// the words for what is wrong are the other halves'.
#include "animation/filereader.h"
#include "page.h"
#include "webbackend.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace runtime {

namespace {

std::map<std::string, std::vector<unsigned char>> &files()
{
    static auto *kept = new std::map<std::string, std::vector<unsigned char>>;
    return *kept;
}

// Why each address that could not be fetched was not, until asked again.
std::map<std::string, FileProblem> &failures()
{
    static auto *why = new std::map<std::string, FileProblem>;
    return *why;
}

// status: the HTTP status, 0 for no answer, and below 0 why the page
// did not ask (velk_fetch in page.js). The server's answer in a user's
// words, as a system's reason is given; the page's refusal by what was
// asked for.
FileProblem problemOf(int status)
{
    switch (status) {
    case -1: return {FileProblem::Missing, "a name no file can have"};
    case -2: return {FileProblem::Unreadable, "not allowed: another site"};
    case -3: return {FileProblem::NotRegular, "a folder, not a file"};
    case -4: return {FileProblem::Missing, "an empty name"};
    case 0: return {FileProblem::Unreadable, "no connection to the server"};
    case 401: case 403: case 451: return {FileProblem::Unreadable, "not allowed by the server"};
    case 404: case 410: return FileProblem::Missing;
    }
    if (status >= 500)
        return {FileProblem::Unreadable, "the server failed to send it"};
    return status < 0 ? FileProblem::Missing : FileProblem::Unreadable;
}

// The addresses being fetched, by the number the page answers with.
std::map<int, std::string> &fetching()
{
    static auto *pending = new std::map<int, std::string>;
    return *pending;
}

} // namespace

std::optional<std::vector<unsigned char>> readRegularFile(const std::string &path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem)
{
    problem = FileProblem::None;
    const auto it = files().find(path);
    if (it == files().end()) {
        const auto failed = failures().find(path);
        problem = failed == failures().end() ? FileProblem::Missing : failed->second;
        return std::nullopt;
    }
    const std::vector<unsigned char> &file = it->second;
    size_t at = 0;
    return readToEnd(std::int64_t(file.size()), maxBytes, stop, problem, [&](unsigned char *into, size_t wanted) {
        const size_t n = std::min(wanted, file.size() - at);
        std::memcpy(into, file.data() + at, n);
        at += n;
        return std::int64_t(n);
    });
}

namespace web {

void WebBackend::fetch(const std::string &address, std::function<void()> work)
{
    if (files().count(address)) {
        post(0, std::move(work));
        return;
    }
    const int id = post(-1, std::move(work));
    fetching()[id] = address;
    // One byte past the bound, for the reader to tell a file too large.
    velk_fetch(id, address.c_str(), double(FrameDecoder::MaxFileBytes + 1));
}

} // namespace web

} // namespace runtime

// The page's answer: the file's bytes (malloc'ed, taken over here), or
// none when it could not be fetched, and the server's status (0 for none).
extern "C" EMSCRIPTEN_KEEPALIVE void velk_fetched(int id, unsigned char *bytes, double size, int status)
{
    auto &pending = runtime::fetching();
    const auto it = pending.find(id);
    if (it != pending.end()) {
        if (bytes)
            runtime::files()[it->second].assign(bytes, bytes + size_t(size));
        else
            runtime::failures()[it->second] = runtime::problemOf(status);
        pending.erase(it);
    }
    std::free(bytes);
    velk_run(id);
}
