// The program associated with a document is GIO's default application for
// the document's content type, found in PATH.

#include "platform/association.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace platform {
namespace {

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectRelease>;

struct GErrorRelease {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GMemoryRelease {
    void operator()(gchar* memory) const { g_free(memory); }
};
using OwnedGText = std::unique_ptr<gchar, GMemoryRelease>;
struct GWordsRelease {
    void operator()(gchar** words) const { g_strfreev(words); }
};
using OwnedGWords = std::unique_ptr<gchar*, GWordsRelease>;

std::intptr_t Failed(std::intptr_t result, int error)
{
    errno = error;
    return result;
}

std::string CurrentDirectory()
{
    const OwnedGText directory(g_get_current_dir());
    return directory ? directory.get() : "/";
}

std::string DocumentPath(const std::string& document, const std::string& directory)
{
    if (document.front() == '/')
        return document;
    return (directory.empty() ? CurrentDirectory() : directory) + '/' + document;
}

std::intptr_t FailedQuery(const GError* error)
{
    if (error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED))
        return Failed(AssociationAccessDenied, EACCES);
    return Failed(AssociationFileNotFound, ENOENT);
}

// The program that `application` runs. GIO's own accessor cuts a quoted
// program path at its first blank, so a desktop entry's Exec line is split
// by its quoting rules here and its first word taken.
std::string ProgramOf(GAppInfo* application)
{
    if (G_IS_DESKTOP_APP_INFO(application)) {
        const OwnedGText exec(
            g_desktop_app_info_get_string(G_DESKTOP_APP_INFO(application), G_KEY_FILE_DESKTOP_KEY_EXEC));
        gchar** parsed = nullptr;
        if (exec && g_shell_parse_argv(exec.get(), nullptr, &parsed, nullptr)) {
            const OwnedGWords words(parsed);
            return words.get()[0];
        }
    }
    const char* executable = g_app_info_get_executable(application);
    return executable ? executable : "";
}

} // namespace

std::intptr_t FindAssociatedExecutable(const std::string& document, const std::string& directory,
                                       std::span<char> result)
{
    if (document.empty())
        return Failed(AssociationFileNotFound, ENOENT);
    const GObjectPtr<GFile> file(g_file_new_for_path(DocumentPath(document, directory).c_str()));
    GError* queryError = nullptr;
    const GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, &queryError));
    const std::unique_ptr<GError, GErrorRelease> error(queryError);
    if (!info)
        return FailedQuery(error.get());

    const char* contentType = g_file_info_get_content_type(info.get());
    const GObjectPtr<GAppInfo> application(contentType ? g_app_info_get_default_for_type(contentType, FALSE)
                                                       : nullptr);
    const std::string program = application ? ProgramOf(application.get()) : std::string();
    const OwnedGText path(program.empty() ? nullptr : g_find_program_in_path(program.c_str()));
    if (!path)
        return Failed(AssociationNotFound, ENOENT);

    const std::size_t length = std::strlen(path.get());
    if (length >= result.size())
        return Failed(AssociationOutOfMemory, ENAMETOOLONG);
    *std::copy_n(path.get(), length, result.begin()) = '\0';
    return AssociationFound;
}

} // namespace platform
