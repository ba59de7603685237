#ifndef KENO_ANALYSIS_BYTE_SOURCE_H_
#define KENO_ANALYSIS_BYTE_SOURCE_H_

#include <cstddef>
#include <string>

// Where FieldReader takes its bytes from. A read either hands over bytes,
// says the source has ended, or says it failed: a failure is never passed
// off as the end, whatever the platform or its standard library.
class ByteSource {
 public:
  // Reads at most `size` bytes into `to`. Returns how many it read, 0 at the
  // end of the source, or -1 when reading failed.
  virtual std::ptrdiff_t read(char* to, std::size_t size) = 0;

 protected:
  ByteSource() = default;
  ByteSource(const ByteSource&) = default;
  ByteSource& operator=(const ByteSource&) = default;
  ~ByteSource() = default;
};

// A file read through the platform's own calls (open and read, or _sopen_s
// and _read in binary mode on Windows), so that every failed read reaches
// the reader as a failure.
class FileSource final : public ByteSource {
 public:
  FileSource() = default;
  ~FileSource() { close(); }
  // It owns its descriptor.
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // Closes what was open, then opens `path` for reading. Returns false when
  // the file is missing, may not be read, or is a folder.
  bool open(const std::string& path);

  void close();

  bool isOpen() const { return fd_ >= 0; }

  // Retries a read that a signal interrupted; the bytes of a short read
  // are handed over, and an error comes with the next read.
  std::ptrdiff_t read(char* to, std::size_t size) override;

 private:
  int fd_ = -1;
};

#endif  // KENO_ANALYSIS_BYTE_SOURCE_H_
