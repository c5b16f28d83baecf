object DataBackFrm: TDataBackFrm
  ClientWidth = 371
  ClientHeight = 136
  Caption = '备份个人信息'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poMainFormCenter
  Font.Name = '宋体'
  Font.Height = -12
  OnShow = FormShow
  OnClose = FormClose
  object GroupBox1: TGroupBox
    Align = alClient
    Caption = '请选择备份路径'
    object Label1: TLabel
      Left = 16
      Top = 28
      Caption = '文件名：'
      Visible = False
    end
    object yFileName: TEdit
      Left = 76
      Top = 24
      Width = 200
      ReadOnly = True
      Visible = False
    end
    object btnSelectFile: TButton
      Left = 284
      Top = 22
      Width = 60
      Height = 24
      Caption = '选择'
      Visible = False
      OnClick = btnSelectFileClick
    end
    object lblPostion: TLabel
      Left = 16
      Top = 30
      Caption = '备份进度:'
    end
    object ProgressFile: TProgressBar
      Left = 88
      Top = 28
      Width = 260
      Height = 16
    end
    object Label3: TLabel
      Left = 16
      Top = 60
      Caption = '当前状态：'
    end
    object lblWaitBackup: TLabel
      Left = 88
      Top = 60
      Caption = '准备备份'
    end
    object btnBackUp: TButton
      Left = 180
      Top = 96
      Width = 75
      Height = 25
      Caption = '确定'
      Default = True
      OnClick = btnBackUpClick
    end
    object BitBtn3: TButton
      Left = 272
      Top = 96
      Width = 75
      Height = 25
      Caption = '取消'
      Cancel = True
      OnClick = BitBtn3Click
    end
  end
end
