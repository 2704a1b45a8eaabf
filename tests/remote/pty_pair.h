// A pseudo-terminal pair standing in for a serial cable: the link opens the
// slave by its path, the test plays the remote program on the master.
#pragma once

#include <string>
#include <string_view>

namespace nusari::test {

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    // Sends bytes to the link and waits until they have reached its side.
    void write(std::string_view bytes);
    // Bytes waiting on the link's side, not yet read.
    int waiting() const;
    // The next line the link wrote (with its line feed), waiting for it;
    // empty when none comes.
    std::string readLine();
    // Whatever the link wrote that has arrived, without waiting.
    std::string drain();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace nusari::test
