// Serves the web build's pages on 127.0.0.1 until stopped:
//   node serve.js WEB_BUILD PORT
'use strict';
const path = require('path');
const {serve} = require('./pages');

const [web_build, port] = process.argv.slice(2);
serve(path.resolve(web_build), Number(port)).then(server => {
  console.log(`Serving ${web_build} at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
});
