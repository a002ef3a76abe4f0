// The web build's pages over HTTP on 127.0.0.1: the index at /, and only
// what the pages load, the files of the folder's top level named like the
// pages, their scripts, style sheet and packages (never the build's own
// files, such as CMakeCache.txt). A malformed path is answered with 400, and
// the server goes on serving.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};
const SERVED_NAME = /^[A-Za-z0-9_-]+\.(html|js|css|wasm|data)$/;

// What a request's path asks for: {status} when it cannot be served, else
// {file, type}.
function requested_file(folder, url) {
  if (!url.startsWith('/')) return {status: 400};
  let name;
  try {
    name = decodeURIComponent(url.split(/[?#]/)[0]);
  } catch (error) {
    return {status: 400};
  }
  if (name.includes('\0')) return {status: 400};
  if (name === '/') name = '/index.html';
  if (!SERVED_NAME.test(name.slice(1))) return {status: 404};
  return {file: path.join(folder, name.slice(1)), type: TYPES[path.extname(name)]};
}

function answer(folder, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    response.writeHead(405, {Allow: 'GET, HEAD'});
    response.end();
    return;
  }
  const asked = requested_file(folder, request.url);
  if (asked.status) {
    response.writeHead(asked.status);
    response.end();
    return;
  }
  fs.readFile(asked.file, (error, data) => {
    if (error) {
      response.writeHead(404);
      response.end();
      return;
    }
    // A rebuilt page is seen at the next load.
    response.writeHead(200, {'Content-Type': asked.type, 'Content-Length': data.length, 'Cache-Control': 'no-cache'});
    response.end(request.method === 'HEAD' ? undefined : data);
  });
}

// Serves folder on 127.0.0.1 at port (0: any free one); resolves to the
// server, listening.
function serve(folder, port = 0) {
  const server = http.createServer((request, response) => {
    try {
      answer(folder, request, response);
    } catch (error) {
      response.writeHead(500);
      response.end();
    }
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

module.exports = {serve};
