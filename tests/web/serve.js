// Serves the web build's pages on 127.0.0.1 until stopped, and prints the
// address of the index:   node serve.js WEB_BUILD PORT   (PORT 0: any free one)
'use strict';
const path = require('path');
const {serve} = require('./server');

const [web_build, port] = process.argv.slice(2);
serve(path.resolve(web_build), Number(port)).then(server => {
  console.log(`Serving ${web_build} at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}, error => {
  console.error(`serve.js: cannot serve on port ${port}: ${error.message}`);
  process.exit(1);
});
