#pragma once

#include "platform/Files.h"

#include <memory>

namespace brenvik {

// A file that passes every call to `inner`; tests derive from it to break or watch single calls.
class ForwardingFile : public File {
public:
    explicit ForwardingFile(File& inner) : inner_(inner) {}
    explicit ForwardingFile(std::unique_ptr<File> owned) : inner_(*owned), owned_(std::move(owned)) {}
    size_t read(char* buffer, size_t size) override { return inner_.read(buffer, size); }
    void write(const char* buffer, size_t size) override { inner_.write(buffer, size); }
    int64_t length() override { return inner_.length(); }
    FileStamp stamp() override { return inner_.stamp(); }
    void sync() override { inner_.sync(); }
    void startSync() override { inner_.startSync(); }
    void close() override { inner_.close(); }

protected:
    File& inner_;

private:
    std::unique_ptr<File> owned_;
};

} // namespace brenvik
