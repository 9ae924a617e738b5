#include "library/LibraryReaders.h"

#include "model/FlowerObjectComposite.h"
#include "model/NodeRecord.h"

const RecordReaderTable& libraryReaders() {
    static const RecordReaderTable table = [] {
        RecordReaderTable readers;
        readers.composite = readComposite;
        return readers;
    }();
    return table;
}
