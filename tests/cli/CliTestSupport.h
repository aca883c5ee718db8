// What the vela-cli tests share: a scratch folder, running vela-cli as a real process, and
// reading its CSV.
#ifndef VELA_TESTS_CLI_CLITESTSUPPORT_H
#define VELA_TESTS_CLI_CLITESTSUPPORT_H

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace clitest {

class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/vela-cli-test-XXXXXX";
        const char *made = ::mkdtemp(pattern);
        m_path = made ? made : "/tmp";
    }
    ~TempDir()
    {
        [[maybe_unused]] const int status = std::system(("rm -rf '" + m_path + "'").c_str());
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    std::string Write(const std::string &name, const std::string &text) const
    {
        const std::string path = m_path + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    std::string Path(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::string ReadAll(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct CliResult
{
    int exitCode = -1;
    std::string out, err;
};

/// Runs vela-cli with `arguments` (already quoted for the shell) in `dir`'s scratch files.
inline CliResult RunCli(const TempDir &dir, const std::string &arguments)
{
    const std::string command = std::string("'") + VELA_CLI_PATH + "' " + arguments + " > '"
        + dir.Path("stdout") + "' 2> '" + dir.Path("stderr") + "'";
    CliResult result;
    const int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadAll(dir.Path("stdout"));
    result.err = ReadAll(dir.Path("stderr"));
    return result;
}

/// The header line and the numeric rows of a CSV text; lines starting with '#' end the rows
/// and are returned in `comments`.
inline std::vector<std::vector<double>> ParseCsv(
    const std::string &text, std::string &header, std::vector<std::string> *comments = nullptr)
{
    std::istringstream in(text);
    std::getline(in, header);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        // Comment lines and "key: value" lines of single results.
        if (!line.empty() && (line[0] == '#' || line.find(':') != std::string::npos)) {
            if (comments)
                comments->push_back(line);
            continue;
        }
        std::vector<double> row;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ','))
            row.push_back(std::stod(field));
        rows.push_back(row);
    }
    return rows;
}

} // namespace clitest

#endif // VELA_TESTS_CLI_CLITESTSUPPORT_H
