#include "library/LibraryReaders.h"

#include "model/CompositeRecord.h"
#include "model/NodeRecord.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerSketchNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

const RecordReaderTable& libraryReaders() {
    static const RecordReaderTable table = [] {
        RecordReaderTable readers;
        readers.pistil = readPistil;
        readers.stamen = readStamen;
        readers.petal = readPetal;
        readers.torus = readTorus;
        readers.stem = readStem;
        readers.sketch = readSketch;
        readers.composite = readComposite;
        return readers;
    }();
    return table;
}
