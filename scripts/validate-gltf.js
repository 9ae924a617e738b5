// Validates a .glb or .gltf file with the Khronos glTF validator and prints its
// report as JSON; exits with 1 when the report holds any error, 2 when the file
// cannot be read. Usage: node validate-gltf.js VALIDATOR_FOLDER FILE
'use strict';
const fs = require('fs');
const path = require('path');

const [folder, file] = process.argv.slice(2);
const validator = require(path.join(folder, 'node_modules', 'gltf-validator'));

let bytes;
try {
    bytes = new Uint8Array(fs.readFileSync(file));
} catch (e) {
    console.error(`cannot read ${file}: ${e.message}`);
    process.exit(2);
}
const base = path.dirname(file);
validator
    .validateBytes(bytes, {
        uri: path.basename(file),
        maxIssues: 100,
        // Buffers and images beside a .gltf file.
        externalResourceFunction: (uri) =>
            new Promise((resolve, reject) => {
                fs.readFile(path.join(base, decodeURIComponent(uri)), (err, data) =>
                    err ? reject(err.toString()) : resolve(new Uint8Array(data)));
            }),
    })
    .then((report) => {
        console.log(JSON.stringify(report, null, 1));
        process.exit(report.issues.numErrors > 0 ? 1 : 0);
    })
    .catch((error) => {
        console.error(`validation failed: ${error}`);
        process.exit(2);
    });
