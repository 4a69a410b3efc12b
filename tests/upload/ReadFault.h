#pragma once

#include <string>

// Faults in the one-byte reads of a file, as another program or the disk
// might cause them between the end test and the read. The nth one-byte
// read of the file (1 = the first) meets the fault, then reads are normal.
namespace read_fault {

// The file is cut to the read position just before that read.
void ShortenBefore(const std::string& path, int nth);
// That read fails with the error.
void Fail(const std::string& path, int nth, int error);
void Clear();

}  // namespace read_fault
