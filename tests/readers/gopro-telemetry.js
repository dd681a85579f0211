// Reads a video's telemetry with the camera vendor's published parser and prints, as JSON, the MP4
// timing of each payload and each stream's samples with their times in milliseconds from the start:
// {"payloads": [{"cts": 0, "duration": 1001}, ...], "streams": {"ACCL": [[0, [x, y, z]], ...], ...}}
// Usage: node gopro-telemetry.js VIDEO
'use strict';
const fs = require('fs');
const gpmfExtract = require('gpmf-extract');
const goproTelemetry = require('gopro-telemetry');

(async () => {
  const extracted = await gpmfExtract(fs.readFileSync(process.argv[2]));
  const telemetry = await goproTelemetry(extracted, { timeOut: 'cts' });
  const streams = {};
  for (const device of Object.values(telemetry)) {
    for (const [key, stream] of Object.entries(device.streams || {})) {
      if (!streams[key]) streams[key] = [];
      for (const sample of stream.samples || []) streams[key].push([sample.cts, sample.value]);
    }
  }
  process.stdout.write(JSON.stringify({ payloads: extracted.timing.samples, streams }));
})().catch(error => {
  process.stderr.write(`${error.stack || error}\n`);
  process.exit(1);
});
