'use strict';
const socket = new WebSocket(location.href.replace(/^http/, 'ws').replace(/\/[^/]*$/, '/') + 'ws');
socket.onmessage = (event) => { document.getElementById('status').textContent = JSON.parse(event.data).type; };
