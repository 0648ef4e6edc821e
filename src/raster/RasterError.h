#pragma once

#include <stdexcept>
#include <string>

// Errors of the raster layer; the caller maps them to its result codes and keyed messages.
class RasterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The data is not a valid image of its format. partial tells whether some pixels were decoded
// into the target before the fault (the caller may offer to keep them).
class InvalidImageError : public RasterError {
public:
    InvalidImageError(const std::string& what, bool partial)
        : RasterError(what), partial_(partial) {}
    bool Partial() const { return partial_; }

private:
    bool partial_;
};

// Any other failure inside the coding library: unsupported operation, too large, no memory.
class LibraryError : public RasterError {
public:
    using RasterError::RasterError;
};

// The image is refused for its size, from the header or because its pixels found no memory.
class ImageTooLargeError : public LibraryError {
public:
    using LibraryError::LibraryError;
};

// The file cannot be opened, read or written.
class FileIOError : public RasterError {
public:
    using RasterError::RasterError;
};
