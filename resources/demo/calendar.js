// Demo calendar widget for Marvix Terminal: served by the demo web host as
// /calendar.php, it fills the page's DXNewsCalendar division with this
// month's DXpeditions, one division per row and per field, as a calendar
// provider's widget does.
(function () {
  var months = ['January', 'February', 'March', 'April', 'May', 'June', 'July',
                'August', 'September', 'October', 'November', 'December'];
  var now = new Date();
  var mon = months[now.getUTCMonth()];
  var short = mon.substring(0, 3);
  var year = now.getUTCFullYear();
  var rows = [
    [1, 20, '3Y0K', 'Bouvet Island', 'CW, SSB, FT8 on 160-10 m'],
    [2, 16, 'FT8WW', 'Crozet Island', 'FT8 F/H and CW, QSL via LoTW'],
    [4, 18, 'TX5S', 'Clipperton Island', 'all bands, SSB and CW'],
    [5, 12, 'ZL7G', 'Chatham Islands', '40-10 m, SSB'],
    [6, 21, 'E6AD', 'Niue', 'holiday style, CW and FT8'],
    [8, 14, 'A35JT', 'Tonga', 'SSB and digital modes'],
    [10, 24, 'VK9XY', 'Christmas Island', 'team of six, all modes'],
    [12, 28, 'H40WA', 'Temotu Province', 'CW only, 30-12 m'],
    [15, 30, 'T32AZ', 'Eastern Kiribati', 'FT8 F/H, 80-6 m']
  ];
  var cell = 'display:inline-block;vertical-align:top;padding:2px 6px;';
  var html =
      '<div style="font:bold 15px sans-serif;color:#1a3c7a">DX calendar</div>' +
      '<div style="font:13px sans-serif;color:#555">' + mon + ' ' + year + '</div>' +
      '<div style="font:11px sans-serif;color:#888">Demo widget of the local web host</div>';
  for (var i = 0; i < rows.length; i++) {
    var r = rows[i];
    html += '<div style="font:13px sans-serif;border-top:1px solid #ccd;' +
            (i % 2 ? 'background:#f4f6fb' : '') + '">' +
            '<div style="' + cell + 'width:120px">' + r[0] + ' ' + short + ' - ' + r[1] + ' ' +
            short + '</div>' +
            '<div style="' + cell + 'width:90px;font-weight:bold;color:#b00">' + r[2] + '</div>' +
            '<div style="' + cell + 'width:400px">' + r[3] + ': ' + r[4] + '</div>' +
            '</div>';
  }
  var box = document.getElementById('DXNewsCalendar');
  if (box)
    box.innerHTML = html;
})();
