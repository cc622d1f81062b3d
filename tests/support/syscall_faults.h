// Makes one system call of a file save fail, as a full disk or a failing drive would: the next
// write, fsync, close or rename of the temporary file that is to become `fileName`.
#pragma once

#include <string>

namespace kelpie::test {

enum class SysOp { Write, Fsync, Close, Rename };

class FailNext {
 public:
  FailNext(SysOp op, std::string fileName);  // armed until it fires or goes out of scope
  ~FailNext();
  FailNext(const FailNext&) = delete;
  FailNext& operator=(const FailNext&) = delete;
  bool fired() const;
};

}  // namespace kelpie::test
