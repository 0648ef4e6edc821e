#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// A component library loaded with dlopen and freed with dlclose when the object goes.
namespace comp {

class Library {
public:
    using Process = void (*)(void* data, uint32_t command);

    // The library at path with its entry point; nullptr when it cannot be loaded or has no
    // "OVCPROCESS".
    static std::unique_ptr<Library> Open(const QString& path);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    Process Entry() const { return entry_; }
    // The descriptor text from "OVCDESC", else from calling "OVCGETDESC"; nullptr when neither
    // gives one. The text is the library's: bound its length when reading it.
    const char* DescriptorText() const;

private:
    explicit Library(void* handle, Process entry) : handle_(handle), entry_(entry) {}
    void* handle_;
    Process entry_;
};

} // namespace comp
