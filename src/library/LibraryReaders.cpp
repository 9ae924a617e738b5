#include "library/LibraryReaders.h"

#include "model/FlowerObjectComposite.h"
#include "model/NodeRecord.h"
#include "organs/FlowerTorusNode.h"

const RecordReaderTable& libraryReaders() {
    static const RecordReaderTable table = [] {
        RecordReaderTable readers;
        readers.torus = readTorus;
        readers.composite = readComposite;
        return readers;
    }();
    return table;
}
