// The stand-in page's script: one Calc press through the core, its response shown.
loadOrvalexCore().then((core) => {
  const request = { op: 'press', tab: 'calc', yes: false, no: true,
                    texts: ['10000', '2.5', '40', '30', ''], decimal: '.', group: ',' };
  document.getElementById('Response').textContent = core.request(JSON.stringify(request));
});
