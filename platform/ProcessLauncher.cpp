#include "platform/ProcessLauncher.h"

#include <csignal>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <thread>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pallix {

namespace {

bool IsLaunchable(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return faccessat(AT_FDCWD, path.c_str(), R_OK | X_OK, AT_EACCESS) == 0;
}

// The child outlives nothing of ours, but its exit status must be collected.
void ReapWhenItEnds(pid_t pid) {
    std::thread([pid] {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&files_);
        posix_spawnattr_init(&attr_);
        // Whatever a library left open without close-on-exec stays with us.
        posix_spawn_file_actions_addclosefrom_np(&files_, 3);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                             POSIX_SPAWN_SETSID);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attr_);
        posix_spawn_file_actions_destroy(&files_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* files() const { return &files_; }
    const posix_spawnattr_t* attr() const { return &attr_; }

private:
    posix_spawn_file_actions_t files_;
    posix_spawnattr_t attr_;
};

}  // namespace

pid_t SpawnProgram(const std::string& path) {
    if (!IsLaunchable(path)) return -1;
    SpawnSetup setup;
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), setup.files(), setup.attr(), argv, environ) != 0)
        return -1;
    ReapWhenItEnds(pid);
    return pid;
}

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using DesktopApp = std::unique_ptr<GDesktopAppInfo, GObjectUnref>;

bool IsDesktopEntryName(const std::string& path) {
    return std::filesystem::path(path).extension() == ".desktop";
}

// An application entry that is meant to be started: loaded, not hidden, with
// something to run (its Exec, or D-Bus activation) and its TryExec present.
DesktopApp LoadDesktopApp(const std::string& path) {
    if (path.empty() || !IsDesktopEntryName(path)) return nullptr;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    DesktopApp app(g_desktop_app_info_new_from_filename(path.c_str()));
    if (!app || g_desktop_app_info_get_is_hidden(app.get())) return nullptr;
    const char* exec = g_app_info_get_executable(G_APP_INFO(app.get()));
    if ((!exec || !*exec) && !g_desktop_app_info_get_boolean(app.get(), "DBusActivatable")) return nullptr;
    return app;
}

void ReapLaunched(GDesktopAppInfo*, GPid pid, gpointer) { ReapWhenItEnds(pid); }

}  // namespace

LaunchTarget DescribeLaunchTarget(const std::string& path) {
    if (IsDesktopEntryName(path)) {
        const DesktopApp app = LoadDesktopApp(path);
        if (!app) return {};
        const char* name = g_app_info_get_name(G_APP_INFO(app.get()));
        return {LaunchKind::kDesktopEntry, name && *name ? name : std::filesystem::path(path).stem().string()};
    }
    if (!IsLaunchable(path)) return {};
    return {LaunchKind::kProgram, std::filesystem::path(path).stem().string()};
}

int LaunchProgram(const std::string& path) {
    if (!IsDesktopEntryName(path)) return SpawnProgram(path) > 0 ? 1 : 0;
    const DesktopApp app = LoadDesktopApp(path);
    if (!app) return 0;
    GError* error = nullptr;
    // We reap what GLib starts for us, as with any program we start.
    const gboolean started = g_desktop_app_info_launch_uris_as_manager(
        app.get(), nullptr, nullptr, GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
        nullptr, ReapLaunched, nullptr, &error);
    if (error) g_error_free(error);
    return started ? 1 : 0;
}

std::string DesktopOpenProblem(const std::string& path) {
    if (gchar* opener = g_find_program_in_path("xdg-open")) g_free(opener);
    else return "xdg-open is missing (package xdg-utils)";
    gchar* guessed = g_content_type_guess(path.c_str(), nullptr, 0, nullptr);
    std::string type = guessed ? guessed : "";
    g_free(guessed);
    // Without the shared MIME database every name guesses as plain bytes; our own
    // documents are HTML.
    const std::string extension = std::filesystem::path(path).extension().string();
    if ((type.empty() || g_content_type_is_unknown(type.c_str())) && (extension == ".html" || extension == ".htm"))
        type = "text/html";
    GList* apps = g_app_info_get_all_for_type(type.c_str());
    GAppInfo* preferred = g_app_info_get_default_for_type(type.c_str(), FALSE);
    const bool any = apps || preferred;
    g_list_free_full(apps, g_object_unref);
    if (preferred) g_object_unref(preferred);
    if (any) return {};
    if (type == "text/html") return "no program on this desktop opens HTML documents (a web browser would)";
    return "no program on this desktop opens files of type " + type;
}

}  // namespace pallix
