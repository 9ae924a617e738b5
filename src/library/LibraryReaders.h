#pragma once

struct RecordReaderTable;

// The record readers of every object class, as the library file, the start-up load
// and the command-line tool read them.
const RecordReaderTable& libraryReaders();
