#include "ChildProcess.h"

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace pictra::test {

ChildEnd runInChild(const std::function<int()>& work, bool asNobody) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (asNobody && ::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(120);
        ::_exit(work());
    }
    ChildEnd end;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return end;
    end.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
    return end;
}

SmallVolume::SmallVolume(const std::string& folder, unsigned long bytes) : m_folder(folder) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallVolume::~SmallVolume() {
    if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
}

}  // namespace pictra::test
